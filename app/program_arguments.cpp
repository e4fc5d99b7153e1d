// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_arguments.h"

namespace {

constexpr const char* kHelpText =
    "Usage: vestrels [DIR]\n"
    "Reader for a collection of electronic journals: issue folders side by side\n"
    "in one working directory.\n"
    "\n"
    "  DIR        use DIR as the working directory for this run (an issue folder\n"
    "             stands for the folder that holds it); the working directory\n"
    "             stored in the settings stays as it is\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Settings: $XDG_CONFIG_HOME/Vestrels/registry.reg (default ~/.config/...).\n";

constexpr const char* kVersionText = "Vestrels " VESTRELS_VERSION "\n";

}  // namespace

std::optional<std::string> InfoRequestedBy(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h")
            return kHelpText;
        if (arg == "--version")
            return kVersionText;
    }
    return std::nullopt;
}
