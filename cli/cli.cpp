// vestrels-cli: the library's discovery, contents parser, article targets and
// search over one working directory, printed as tab-separated lines or JSON
// lines.
// The tool never asks anything and never writes a setting: its desktop
// refuses every request, and its messages go to the error stream.
#include "cli/cli.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include <nlohmann/json.hpp>

#include "app/journal_catalogue.h"
#include "favorites/favorites_export.h"
#include "favorites/favorites_file.h"
#include "favorites/favorites_ops.h"
#include "favorites/favorites_store.h"
#include "library/article_target.h"
#include "library/contents_parser.h"
#include "library/discovery.h"
#include "platform/files.h"
#include "platform/host_ui.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "platform/text1251.h"
#include "search/search_engine.h"

namespace {

constexpr const char* kUsage =
    "usage: vestrels-cli [--dir DIR] [--json] COMMAND\n"
    "commands:\n"
    "  list                     the issues: index, folder, caption\n"
    "  toc N                    issue N's table of contents: position, title, link\n"
    "  target N [LINK]          what opening LINK of issue N opens (its start page without LINK)\n"
    "  search [--text] [--whole-word] [--match-case] [--] QUERY\n"
    "                           the issues whose titles (with --text: article texts) hold QUERY:\n"
    "                           index, caption, positions of the found entries\n"
    "  favorites [--html] [FILE] the favourites of FILE (default: SelFold.dat here): section,\n"
    "                           name, title, link; --html: a bookmarks file for a web browser\n"
    "options:\n"
    "  --dir DIR                the working directory (default: the stored one)\n"
    "  --json                   one JSON object per line\n"
    "  --help                   this text\n";

struct SearchOptions {
    bool inText = false;
    bool wholeWord = false;
    bool matchCase = false;
};

struct Options {
    std::optional<std::string> dir;
    bool json = false;
    bool help = false;
    std::string command;
    std::vector<std::string> operands;
    SearchOptions search;
};

/// The search command's own options, then exactly one query.
bool ParseSearchOperands(Options& options)
{
    std::vector<std::string> rest;
    bool optionsEnded = false;
    for (const std::string& arg : options.operands) {
        if (optionsEnded || !arg.starts_with("--"))
            rest.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "--text")
            options.search.inText = true;
        else if (arg == "--whole-word")
            options.search.wholeWord = true;
        else if (arg == "--match-case")
            options.search.matchCase = true;
        else
            return false;
    }
    options.operands = std::move(rest);
    return options.operands.size() == 1;
}

// A desktop that answers nothing; messages become lines on the error stream.
class RefusingHost : public platform::HostUi {
public:
    explicit RefusingHost(std::ostream& err) : err_(err) {}

    platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption, platform::MessageIcon,
                                        platform::MessageButtons) override
    {
        err_ << platform::text::Utf8From1251(caption) << ": " << platform::text::Utf8From1251(text) << '\n';
        return platform::MessageAnswer::Cancel;
    }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    void OpenTarget(const platform::shell::Target&) override {}

private:
    std::ostream& err_;
};

std::optional<Options> ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        if (args[i] == "--help") {
            options.help = true;
            return options;
        }
        if (args[i] == "--json")
            options.json = true;
        else if (args[i] == "--dir" && i + 1 < args.size())
            options.dir = args[++i];
        else
            return std::nullopt;
    }
    if (i == args.size())
        return std::nullopt;
    options.command = args[i];
    options.operands.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (options.command == "search")
        return ParseSearchOperands(options) ? std::optional<Options>(std::move(options)) : std::nullopt;
    if (options.command == "favorites")
        return options;  // its operands are its own
    const std::size_t count = options.operands.size();
    const bool fits = (options.command == "list" && count == 0) || (options.command == "toc" && count == 1) ||
                      (options.command == "target" && (count == 1 || count == 2));
    return fits ? std::optional<Options>(std::move(options)) : std::nullopt;
}

std::optional<int> ParseIndex(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

std::string WorkPatternFor(const Options& options)
{
    if (!options.dir)
        return ReadStoredWorkPattern();
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(*options.dir, ec);
    return platform::paths::FromHost(ec ? *options.dir : absolute.string()) + "\\*";
}

// One output line: tab-separated UTF-8 fields, or a JSON object.
class LinePrinter {
public:
    LinePrinter(std::ostream& out, bool json) : out_(out), json_(json) {}

    void Print(const std::vector<std::pair<std::string, nlohmann::json>>& fields)
    {
        if (json_) {
            nlohmann::json object = nlohmann::json::object();
            for (const auto& [key, value] : fields)
                object[key] = value;
            out_ << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
            return;
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const nlohmann::json& value = fields[i].second;
            out_ << (i ? "\t" : "") << (value.is_string() ? OneLine(value.get<std::string>()) : value.dump());
        }
        out_ << '\n';
    }

private:
    // A tab or line break inside a field would split the line.
    static std::string OneLine(std::string text)
    {
        for (char& c : text)
            if (c == '\t' || c == '\n' || c == '\r')
                c = ' ';
        return text;
    }

    std::ostream& out_;
    bool json_;
};

std::string Utf8(const std::string& text1251)
{
    return platform::text::Utf8From1251(text1251);
}

void PrintList(const Library& library, LinePrinter& printer)
{
    for (int i = 0; i < library.issueCount(); ++i)
        printer.Print({{"index", i},
                       {"folder", Utf8(library.folderNames[i])},
                       {"caption", Utf8(library.issues[i].caption)}});
}

void PrintContents(platform::HostUi& host, const JournalCatalogue& catalogue, const Library& library, int issue,
                   LinePrinter& printer)
{
    // Only the asked issue is parsed, so only its unreadable page is reported.
    Library single;
    single.workPattern = library.workPattern;
    single.folderNames = {library.folderNames[issue]};
    single.issues.resize(1);
    ParseContents(host, catalogue, single);
    for (int position = 0; position < kEntriesPerIssue; ++position) {
        const ArticleEntry& entry = single.issues[0].articles[position];
        printer.Print({{"position", position}, {"title", Utf8(entry.title)}, {"link", Utf8(entry.link)}});
        if (entry.title.empty())
            break;
    }
}

// The tab-separated form keeps its two fields for the scripts that read them.
void PrintTarget(const Library& library, int issue, const std::string& link1251, bool json, LinePrinter& printer)
{
    const std::optional<platform::shell::Target> target = ArticleTarget(library, issue, link1251, true);
    if (!target)
        return;
    const platform::shell::HostTarget host = platform::shell::ToHostTarget(*target);
    std::vector<std::pair<std::string, nlohmann::json>> fields = {{"target", Utf8(target->text)},
                                                                  {"host", host.value}};
    if (json)
        fields.emplace_back("kind", host.kind == platform::shell::TargetKind::Address ? "address" : "file");
    printer.Print(fields);
}

// The command-line search collects its rows and runs without the window's
// pause; its issues are already parsed.
class CollectingSink : public TextSearchSink {
public:
    void Progress(int) override {}
    void AddResult(int, int issue) override { rows.push_back(issue); }
    std::vector<std::int32_t> rows;
};

/// The query in code page 1251; nothing when the code page cannot hold it.
std::optional<std::string> QueryIn1251(const std::string& utf8)
{
    std::string query = platform::text::To1251FromUtf8(utf8);
    if (!platform::text::IsValidUtf8(utf8) || platform::text::Utf8From1251(query) != utf8)
        return std::nullopt;
    return query;
}

void PrintSearch(platform::HostUi& host, const JournalCatalogue& catalogue, Library& library,
                 const std::string& query1251, const SearchOptions& search, bool json, LinePrinter& printer)
{
    ParseContents(host, catalogue, library);
    ClearMatched(library);
    if (query1251.empty())
        return;
    const SearchQuery query(query1251, search.matchCase, search.wholeWord);
    std::vector<std::int32_t> rows;
    if (search.inText) {
        CollectingSink sink;
        RunTextSearch(library, query, sink);
        rows = std::move(sink.rows);
    } else {
        rows = SearchTitles(library, query);
    }
    for (const std::int32_t i : rows) {
        const IssueRecord& issue = library.issues[static_cast<std::size_t>(i)];
        const std::vector<int> found = FoundPositions(issue);
        // Tab-separated, the positions are one field of numbers between blanks.
        std::string shown;
        for (const int position : found)
            shown += (shown.empty() ? "" : " ") + std::to_string(position);
        printer.Print({{"index", i},
                       {"caption", Utf8(issue.caption)},
                       {"found", json ? nlohmann::json(found) : nlohmann::json(shown)}});
    }
}

int Fail(std::ostream& err, const std::string& message)
{
    err << "vestrels-cli: " << message << '\n';
    return 1;
}

// The favourites file as the program reads it. The tool never writes it, not
// even the empty file the program creates when there is none.
int RunFavorites(const Options& options, std::ostream& out, std::ostream& err)
{
    bool html = false;
    bool json = options.json;
    bool wrongUsage = false;
    std::optional<std::string> file;
    for (const std::string& arg : options.operands) {
        if (arg == "--html")
            html = true;
        else if (arg == "--json")
            json = true;
        else if (!file)
            file = arg;
        else
            wrongUsage = true;
    }
    if (wrongUsage || (html && json)) {
        err << kUsage;
        return 2;
    }
    // The program's own file in any letter case, as the program finds it.
    FavoritesFile favorites(file.value_or(FavoritesFile::FindIn(".")));
    const std::string path = file.value_or(std::filesystem::path(favorites.path()).filename().string());
    bool damaged = false;
    const std::optional<FavoritesStore> read = favorites.Read(&damaged);
    if (!read)
        return Fail(err, "cannot read the favourites file " + path);
    const FavoritesStore& store = *read;
    if (damaged)
        err << "vestrels-cli: " << path << " is damaged; what could be read whole is shown\n";
    if (html) {
        // With a working directory, stored Windows paths find their pages here.
        Library library;
        library.workPattern = WorkPatternFor(options);
        JournalCatalogue catalogue = ReadStoredCatalogue().value_or(DefaultCatalogue());
        if (!library.workPattern.empty())
            library.folderNames = ScanIssueFolders(catalogue, library.workPattern).value_or(std::vector<std::string>{});
        const std::string here = std::filesystem::current_path().string();
        out << BookmarksHtml(store, [&](std::string_view link) { return FavoriteUrl(library, link, here); });
        return 0;
    }
    LinePrinter printer(out, json);
    for (std::size_t i = 0; i < store.sections.size(); ++i) {
        const TSelectedFolder& section = store.sections[i];
        for (const TSelected& article : section.articles)
            printer.Print({{"section", i},
                           {"name", Utf8(section.name)},
                           {"title", Utf8(json ? article.title : TitleOnOneLine(article.title))},
                           {"link", Utf8(article.link)}});
    }
    return 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::optional<Options> options = ParseOptions(args);
    std::optional<int> issue;
    if (options && options->help) {
        out << kUsage;
        return 0;
    }
    if (options && options->command == "favorites")
        return RunFavorites(*options, out, err);
    if (options && options->command == "search")
        issue.reset();
    else if (options && !options->operands.empty())
        issue = ParseIndex(options->operands[0]);
    if (!options || (options->command != "search" && !options->operands.empty() && !issue)) {
        err << kUsage;
        return 2;
    }
    std::optional<std::string> query1251;
    if (options->command == "search") {
        query1251 = QueryIn1251(options->operands[0]);
        if (!query1251) {
            err << "vestrels-cli: the query holds characters that code page 1251 cannot hold\n";
            return 2;
        }
    }

    const std::string workPattern = WorkPatternFor(*options);
    if (workPattern.empty())
        return Fail(err, "no working directory: none is stored, give one with --dir");
    JournalCatalogue catalogue = ReadStoredCatalogue().value_or(DefaultCatalogue());
    std::optional<std::vector<std::string>> folders = ScanIssueFolders(catalogue, workPattern);
    const std::string shownDir =
        Utf8(workPattern.ends_with("\\*") ? workPattern.substr(0, workPattern.size() - 2) : workPattern);
    if (!folders)
        return Fail(err, "cannot read the working directory " + shownDir);
    if (folders->empty())
        return Fail(err, "no issue folder found in " + shownDir);

    Library library;
    library.workPattern = workPattern;
    BuildLibraryFrom(catalogue, library, std::move(*folders));
    if (issue && *issue >= library.issueCount())
        return Fail(err, "issue " + std::to_string(*issue) + " out of range (0 to " +
                             std::to_string(library.issueCount() - 1) + ")");

    RefusingHost host(err);
    LinePrinter printer(out, options->json);
    if (options->command == "list")
        PrintList(library, printer);
    else if (options->command == "toc")
        PrintContents(host, catalogue, library, *issue, printer);
    else if (options->command == "search")
        PrintSearch(host, catalogue, library, *query1251, options->search, options->json, printer);
    else
        PrintTarget(library, *issue,
                    platform::text::To1251FromUtf8(options->operands.size() > 1 ? options->operands[1] : ""),
                    options->json, printer);
    return 0;
}
