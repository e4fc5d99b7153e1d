// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_args.h"

#include <charconv>
#include <cstddef>

const char* const kCliUsage =
    "usage: vestrels-cli [OPTION]... COMMAND [ARGUMENT]...\n"
    "commands:\n"
    "  list                     the issues: index, folder, caption\n"
    "  toc N                    issue N's table of contents: position, title, link\n"
    "  target N [LINK]          the file or address that opening LINK of issue N opens\n"
    "                           (its start page without LINK)\n"
    "  search [--text] [--whole-word] [--match-case] [--jobs N] [--] QUERY\n"
    "                           the issues whose titles (with --text: article texts) hold QUERY:\n"
    "                           index, caption, positions of the found entries; --jobs: read\n"
    "                           the article texts on N workers (default: one per core)\n"
    "  favorites [--html] [FILE]\n"
    "                           the favourites of FILE (default: SelFold.dat here): section,\n"
    "                           name, title, link; --html: a bookmarks file for a web browser\n"
    "options, before or after the command:\n"
    "  --dir=DIR, --dir DIR     the working directory (default: the stored one), taken as\n"
    "                           the window takes it: a folder that holds issues is itself,\n"
    "                           an issue folder stands for the folder that holds it\n"
    "  --json                   one JSON object per line\n"
    "  -h, --help               this text\n"
    "  --version                the version\n"
    "  --                       ends the options: what follows is an operand\n"
    "exit status: 0 done, 1 failed, 2 wrong usage; search: 0 found, 1 nothing found,\n"
    "2 an error and nothing found\n";

namespace {

struct CommandRule {
    const char* name;
    std::size_t minOperands;
    std::size_t maxOperands;
    const char* operandsText;  ///< for the message when their count is wrong
};

constexpr CommandRule kCommands[] = {
    {"list", 0, 0, "no operand"},
    {"toc", 1, 1, "one issue number"},
    {"target", 1, 2, "an issue number and at most one link"},
    {"search", 1, 1, "one query"},
    {"favorites", 0, 1, "at most one file"},
};

const CommandRule* FindCommand(const std::string& name)
{
    for (const CommandRule& rule : kCommands)
        if (name == rule.name)
            return &rule;
    return nullptr;
}

// A leading "-" followed by a digit is a (bad) number, not an option.
bool LooksLikeOption(const std::string& arg)
{
    return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

bool IsSearchOption(const std::string& arg)
{
    return arg == "--text" || arg == "--whole-word" || arg == "--match-case" || arg.starts_with("--jobs=");
}

/// The number of --jobs N: a whole number from 1 up.
std::optional<int> ParseJobs(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1)
        return std::nullopt;
    return value;
}

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

/// Takes a global option at args[i] (moving i past its value); false when
/// args[i] is no global option.
bool TakeGlobalOption(const std::vector<std::string>& args, std::size_t& i, ParsedCommandLine& parsed)
{
    CliOptions& options = parsed.options;
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h")
        options.help = true;
    else if (arg == "--version")
        options.version = true;
    else if (arg == "--json")
        options.json = true;
    else if (arg == "--dir" && i + 1 < args.size())
        options.dir = args[++i];
    else if (arg == "--dir" || arg == "--dir=")
        parsed.mistake = "option --dir needs a folder";
    else if (arg.starts_with("--dir="))
        options.dir = arg.substr(6);
    else
        return false;
    return true;
}

/// The command's own options, judged once the command is known; false with
/// the mistake named when one does not belong.
bool TakeCommandOptions(const std::vector<std::string>& given, ParsedCommandLine& parsed)
{
    CliOptions& options = parsed.options;
    for (const std::string& arg : given) {
        const bool known = IsSearchOption(arg) || arg == "--html";
        if (!known) {
            parsed.mistake = "unknown option " + Quoted(arg);
            return false;
        }
        if (options.command != (arg == "--html" ? "favorites" : "search")) {
            parsed.mistake = "option " + arg + " does not belong to " + options.command;
            return false;
        }
        options.html |= arg == "--html";
        options.search.inText |= arg == "--text";
        options.search.wholeWord |= arg == "--whole-word";
        options.search.matchCase |= arg == "--match-case";
        if (arg.starts_with("--jobs=")) {
            const std::optional<int> jobs = ParseJobs(arg.substr(7));
            if (!jobs) {
                parsed.mistake = "option --jobs needs a number of workers from 1 up, not " + Quoted(arg.substr(7));
                return false;
            }
            options.search.jobs = *jobs;
        }
    }
    return true;
}

std::optional<int> ParseIndex(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

void CheckOperands(ParsedCommandLine& parsed, const CommandRule& rule)
{
    CliOptions& options = parsed.options;
    const std::size_t count = options.operands.size();
    if (count < rule.minOperands || count > rule.maxOperands) {
        parsed.mistake = options.command + " takes " + rule.operandsText +
                         (count > rule.maxOperands ? ", not " + Quoted(options.operands[rule.maxOperands])
                                                   : std::string());
        return;
    }
    if (options.command == "toc" || options.command == "target") {
        const std::optional<int> issue = ParseIndex(options.operands[0]);
        if (!issue)
            parsed.mistake = "bad issue number " + Quoted(options.operands[0]);
        options.issue = issue.value_or(-1);
    }
    if (options.html && options.json)
        parsed.mistake = "favorites takes --html or --json, not both";
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    ParsedCommandLine parsed;
    CliOptions& options = parsed.options;
    std::vector<std::string> commandOptions;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (optionsEnded || !LooksLikeOption(arg)) {
            if (options.command.empty())
                options.command = arg;
            else
                options.operands.push_back(arg);
        } else if (arg == "--jobs") {
            // Its value is no operand; a missing one is named as such.
            commandOptions.push_back("--jobs=" + (i + 1 < args.size() ? args[++i] : std::string()));
        } else if (!TakeGlobalOption(args, i, parsed)) {
            commandOptions.push_back(arg);
        }
    }
    if (!parsed.mistake.empty() || options.help || options.version)
        return parsed;
    const CommandRule* rule = FindCommand(options.command);
    if (options.command.empty())
        parsed.mistake = "no command given";
    else if (!rule)
        parsed.mistake = "unknown command " + Quoted(options.command);
    else if (TakeCommandOptions(commandOptions, parsed))
        CheckOperands(parsed, *rule);
    return parsed;
}
