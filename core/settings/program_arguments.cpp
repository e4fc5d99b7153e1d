// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/program_arguments.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr const char* kHelpText =
    "Usage: vestrels [DIR]\n"
    "Reader for a collection of electronic journals: issue folders side by side\n"
    "in one working directory.\n"
    "\n"
    "  DIR          use DIR as the working directory for this run (an issue folder\n"
    "               stands for the folder that holds it); the working directory\n"
    "               stored in the settings stays as it is\n"
    "  -h, --help   show this text and exit\n"
    "  --version    show the version and exit\n"
    "\n"
    "Settings: $XDG_CONFIG_HOME/Vestrels/registry.reg (default ~/.config/...).\n";

constexpr const char* kVersionText = "Vestrels " VESTRELS_VERSION "\n";

// GTK's own options, which the toolkit takes before the program sees them;
// the first ones take a value ("--display :1" or "--display=:1").
constexpr const char* kToolkitOptionsWithValue[] = {"--display", "--class",     "--name",        "--gtk-module",
                                                    "--gdk-debug", "--gdk-no-debug", "--gtk-debug", "--gtk-no-debug"};
constexpr const char* kToolkitFlags[] = {"--g-fatal-warnings", "--sync"};

bool IsOneOf(const std::string& arg, const auto& names)
{
    return std::any_of(std::begin(names), std::end(names), [&](const char* name) { return arg == name; });
}

bool TakesValue(const std::string& arg)
{
    return IsOneOf(arg, kToolkitOptionsWithValue);
}

bool IsToolkitOptionWithItsValue(const std::string& arg)
{
    const std::size_t equals = arg.find('=');
    return equals != std::string::npos && TakesValue(arg.substr(0, equals));
}

ProgramRequest Mistake(const std::string& what)
{
    return {ProgramRequest::Mistake, "vestrels: " + what + " (see vestrels --help)\n"};
}

}  // namespace

ProgramRequest ReadProgramArguments(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h")
            return {ProgramRequest::Print, kHelpText};
        if (arg == "--version")
            return {ProgramRequest::Print, kVersionText};
    }
    int folders = 0;
    bool onlyFolders = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!onlyFolders && arg == "--") {
            onlyFolders = true;
            continue;
        }
        if (!onlyFolders && arg.size() > 1 && arg[0] == '-') {
            if (TakesValue(arg))
                ++i;
            else if (!IsOneOf(arg, kToolkitFlags) && !IsToolkitOptionWithItsValue(arg))
                return Mistake("unknown option '" + arg + "'");
            continue;
        }
        if (++folders > 1)
            return Mistake("too many arguments: only one folder is taken, not '" + arg + "' as well");
    }
    return {};
}
