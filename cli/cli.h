// SPDX-License-Identifier: GPL-3.0-or-later
// vestrels-cli: lists the issues of a working directory, an issue's table of
// contents and the targets its links open, and searches the issues as the
// window does, without a display and without writing any setting.
#pragma once

#include <ostream>
#include <string>
#include <vector>

/// Runs one command; `args` are the arguments after the program name. Output
/// is UTF-8. Returns the exit status: 0 done, 1 failed, 2 wrong usage; for
/// search, as grep: 0 found, 1 nothing found, 2 an error.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
