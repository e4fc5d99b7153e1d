// SPDX-License-Identifier: GPL-3.0-or-later
// Paths inside the library: a folder is the working-directory pattern with its
// "*" replaced by the folder's name.
#include "core/library/library.h"

std::string FolderPath(std::string_view workPattern, std::string_view name)
{
    std::string path(workPattern);
    const std::size_t star = path.rfind('*');
    if (star == std::string::npos)
        return path + "\\" + std::string(name);
    path.replace(star, 1, name);
    return path;
}
