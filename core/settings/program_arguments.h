// SPDX-License-Identifier: GPL-3.0-or-later
// What the program's own command line asks for before any window exists:
// its help and version texts, and the mistakes it refuses. The folder and
// the toolkit's own options go on to the framework.
#pragma once

#include <string>
#include <vector>

struct ProgramRequest {
    enum Kind { Run, Print, Mistake };
    Kind kind = Run;
    /// Print: the text for stdout (status 0); Mistake: the line for stderr
    /// (status 2).
    std::string text;
};

/// Reads the arguments after the program name: "--help" or "-h" and
/// "--version" win; an option that is neither ours nor the toolkit's, or
/// more than one folder, is a mistake. Arguments after "--" are folders.
ProgramRequest ReadProgramArguments(const std::vector<std::string>& args);
