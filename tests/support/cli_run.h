// SPDX-License-Identifier: GPL-3.0-or-later
// Running vestrels-cli's commands in-process, as the unit tests do.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

struct ToolRun {
    int status;
    std::string out, err;
};

inline ToolRun RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}
