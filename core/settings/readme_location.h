// SPDX-License-Identifier: GPL-3.0-or-later
// Where "Читать Readme" and the help key find the user guide.
#pragma once

#include <string>

/// Readme.htm in the folder the program runs in (internal form), as it has
/// always been; when that folder has none, the guide installed with the
/// program, in share/doc/vestrels beside the program's bin folder.
/// `programPath` is the running program's host path.
std::string ReadmeToOpen(const std::string& currentDirectory, const std::string& programPath);
