// SPDX-License-Identifier: GPL-3.0-or-later
// What the program's own command line asks for before any window exists:
// its help and version texts. Everything else goes to the framework, which
// also takes the toolkit's options and the working directory.
#pragma once

#include <optional>
#include <string>
#include <vector>

/// The text to print and exit with status 0 for, when an argument asks for
/// it ("--help" or "-h", "--version"); nothing otherwise. Arguments after
/// "--" are folders, never requests. `args` excludes the program's name.
std::optional<std::string> InfoRequestedBy(const std::vector<std::string>& args);
