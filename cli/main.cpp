// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of vestrels-cli; the commands live in cli.cpp.
#include <iostream>
#include <new>

#include "cli/cli.h"

int main(int argc, char** argv)
{
    // What is read of one file is bounded; should memory still run out, the
    // tool says so and fails instead of aborting.
    try {
        return RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "vestrels-cli: out of memory\n";
        return 1;
    }
}
