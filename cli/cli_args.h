// SPDX-License-Identifier: GPL-3.0-or-later
// vestrels-cli's command line, read as grep and its kin read theirs: the
// global options anywhere before "--", a command with its own options and its
// operands, and one line naming the first mistake.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct SearchOptions {
    bool inText = false;
    bool wholeWord = false;
    bool matchCase = false;
    int jobs = 0;  ///< --text: how many workers read; 0 one per core
};

struct CliOptions {
    std::optional<std::string> dir;  ///< as given, in the host's form
    bool json = false;
    bool html = false;  ///< favorites only
    bool help = false;
    bool version = false;
    std::string command;
    std::vector<std::string> operands;  ///< after the command, options taken out
    SearchOptions search;
    int issue = -1;  ///< toc and target: the issue number
};

struct ParsedCommandLine {
    CliOptions options;
    /// What was wrong, for one line on the error stream; empty when nothing.
    std::string mistake;
};

/// Reads the arguments after the program name. --help, -h and --version win
/// over any mistake, so that a user can always ask.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

/// The text of --help.
extern const char* const kCliUsage;
