// SPDX-License-Identifier: GPL-3.0-or-later
// Why a file that a read gave up on could not be read, in words for a
// message. Asked only after a read failed, so the common path pays nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

/// Nothing when the file simply is not there (no such file, or a folder on
/// its path is missing); otherwise the reason, such as "Permission denied",
/// "it is a folder" or "it is larger than 64 MiB".
std::optional<std::string> ReadProblem(std::string_view internalPath);

}  // namespace platform::files
