// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/readme_location.h"

#include <filesystem>
#include <system_error>

#include "platform/paths.h"

std::string ReadmeToOpen(const std::string& currentDirectory, const std::string& programPath)
{
    const std::string local = currentDirectory + "\\Readme.htm";
    std::error_code error;
    if (std::filesystem::is_regular_file(platform::paths::ToHost(local), error))
        return local;
    const std::filesystem::path installed =
        std::filesystem::path(programPath).parent_path().parent_path() / "share/doc/vestrels/Readme.htm";
    if (std::filesystem::is_regular_file(installed, error))
        return platform::paths::FromHost(installed.string());
    // The desktop reports the missing page.
    return local;
}
