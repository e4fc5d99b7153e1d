// SPDX-License-Identifier: GPL-3.0-or-later
// Issues that arrive as one compiled-help file (".chm"), unpacked into a
// folder of their own before the working directory is scanned.
#pragma once

#include <string_view>

#include "platform/host_ui.h"

/// Gives each ".chm" file of the working directory that no folder stands for
/// a folder of its own (its path goes onto the clipboard) and unpacks it
/// there; no other program is ever started. Only regular files with a plain
/// name (no path separator, not dots only) are taken. The folder takes the
/// issue's name only when every object was written whole, with the host's
/// progress shown; a cancel leaves the issue out, a failure leaves nothing
/// and a message naming the archive and the reason. A folder of exactly the
/// archive's name is completed where it lacks objects or holds one cut
/// short. A medium that takes no folder is said once per process.
void PrepareCompiledHelpIssues(platform::HostUi& host, std::string_view workPattern);
