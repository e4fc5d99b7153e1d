// SPDX-License-Identifier: GPL-3.0-or-later
// vestrels-cli: the library's discovery, contents parser, article targets and
// search over one working directory, printed as tab-separated lines or JSON
// lines.
// The tool never asks anything and never writes a setting: its desktop
// refuses every question, and its messages go to the error stream.
#include "cli/cli.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include <nlohmann/json.hpp>

#include "core/catalogue/journal_catalogue.h"
#include "core/settings/settings_store.h"
#include "cli/cli_args.h"
#include "core/favorites/favorites_export.h"
#include "core/favorites/favorites_file.h"
#include "core/favorites/favorites_ops.h"
#include "core/favorites/favorites_store.h"
#include "core/library/article_target.h"
#include "core/library/compiled_help.h"
#include "core/library/contents_parser.h"
#include "core/library/discovery.h"
#include "platform/files.h"
#include "platform/host_ui.h"
#include "platform/paths.h"
#include "platform/read_problem.h"
#include "platform/shell.h"
#include "platform/text1251.h"
#include "core/search/parallel_text_search.h"
#include "core/search/search_engine.h"

namespace {

/// Text for a terminal: every control character (C0, DEL and C1) becomes a
/// blank, so that a name or title can neither split a line nor send the
/// terminal an escape sequence.
std::string Printable(const std::string& utf8)
{
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0 &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80;
        if (byte < 0x20 || byte == 0x7F || c1) {
            shown += ' ';
            i += c1 ? 1 : 0;
        } else {
            shown += utf8[i];
        }
    }
    return shown;
}

/// A message of the library on one line: its line breaks become blanks.
std::string OnOneLine(const std::string& text)
{
    std::string line;
    for (const char c : text) {
        const bool lineBreak = c == '\n' || c == '\r';
        if (!lineBreak)
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

// A desktop that answers no question; messages become lines on the error stream.
class RefusingHost : public platform::HostUi {
public:
    explicit RefusingHost(std::ostream& err) : err_(err) {}

    platform::MessageAnswer ShowMessage(const std::string& text, const std::string&, platform::MessageIcon,
                                        platform::MessageButtons) override
    {
        err_ << "vestrels-cli: " << Printable(OnOneLine(platform::text::Utf8From1251(text))) << '\n';
        return platform::MessageAnswer::Cancel;
    }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    // The window puts an unpacked issue's folder on the clipboard; the tool
    // has none to fill and goes on as if it had.
    bool SetClipboardText(const std::string&) override { return true; }
    void OpenTarget(const platform::shell::Target&) override {}
    bool SpeaksEnglish() const override { return true; }

private:
    std::ostream& err_;
};

/// The working directory of --dir, or the stored one. --dir goes through
/// the window's own folder choice: a folder that holds issue folders is the
/// working directory whatever its name, an issue folder stands for the
/// folder that holds it.
std::string WorkPatternFor(const CliOptions& options, JournalCatalogue& catalogue)
{
    if (!options.dir)
        return settings::LoadWorkPattern();
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(*options.dir, ec);
    std::filesystem::path folder = ec ? std::filesystem::path(*options.dir) : absolute;
    if (!folder.has_filename())
        folder = folder.parent_path();  // "DIR/" names DIR
    return WorkPatternForChoice(catalogue, platform::paths::FromHost(folder.string()));
}

/// The working directory as the user's system writes it.
std::string HostDirectory(const std::string& workPattern)
{
    return platform::paths::ToHost(workPattern.ends_with("\\*") ? workPattern.substr(0, workPattern.size() - 2)
                                                                  : workPattern);
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
            out_ << (i ? "\t" : "") << (value.is_string() ? Printable(value.get<std::string>()) : value.dump());
        }
        out_ << '\n';
    }

private:
    std::ostream& out_;
    bool json_;
};

std::string Utf8(const std::string& text1251)
{
    return platform::text::Utf8From1251(text1251);
}

int Fail(std::ostream& err, const std::string& message, int status = 1)
{
    err << "vestrels-cli: " << Printable(message) << '\n';
    return status;
}

int WrongUsage(std::ostream& err, const std::string& mistake)
{
    return Fail(err, mistake + " (see vestrels-cli --help)", 2);
}

/// Why a folder cannot be listed, in the system's words.
std::string FolderProblem(const std::string& workPattern)
{
    std::error_code ec;
    std::filesystem::directory_iterator listing(HostDirectory(workPattern), ec);
    return ec ? ec.message() : "it cannot be listed";
}

/// Says that a file the library reads could not be read; false (and
/// nothing said) when it simply is not there.
bool ReportUnreadable(std::ostream& err, const std::string& what, const std::string& internalPath)
{
    const std::optional<std::string> problem = platform::files::ReadProblem(internalPath);
    if (problem)
        Fail(err, "cannot read " + what + platform::paths::ToHost(internalPath) + ": " + *problem);
    return problem.has_value();
}

void PrintList(const Library& library, LinePrinter& printer)
{
    for (int i = 0; i < library.issueCount(); ++i)
        printer.Print({{"index", i},
                       {"folder", Utf8(library.folderNames[i])},
                       {"caption", Utf8(library.issues[i].caption)}});
}

int PrintContents(const JournalCatalogue& catalogue, const Library& library, int issue, LinePrinter& printer,
                  std::ostream& err)
{
    // Only the asked issue is parsed, so only its unreadable page is reported.
    Library single;
    single.workPattern = library.workPattern;
    single.folderNames = {library.folderNames[issue]};
    single.issues.resize(1);
    if (!ParseContentsPages(catalogue, single).empty()) {
        const std::string path = ContentsFilePath(catalogue, single, 0);
        if (!ReportUnreadable(err, "the contents page ", path))
            Fail(err, "cannot read the contents page " + platform::paths::ToHost(path) + ": there is no such file");
        return 1;
    }
    for (int position = 0; position < kEntriesPerIssue; ++position) {
        const ArticleEntry& entry = single.issues[0].articles[position];
        printer.Print({{"position", position}, {"title", Utf8(entry.title)}, {"link", Utf8(entry.link)}});
        if (entry.title.empty())
            break;
    }
    return 0;
}

// The plain form is the host's path or the address, what a script hands to a
// program; JSON keeps the program's own form beside it.
void PrintTarget(const Library& library, int issue, const std::string& link1251, bool json, LinePrinter& printer)
{
    const std::optional<platform::shell::Target> target = ArticleTarget(library, issue, link1251, true);
    if (!target)
        return;
    const platform::shell::HostTarget host = platform::shell::ToHostTarget(*target);
    if (!json) {
        printer.Print({{"host", host.value}});
        return;
    }
    printer.Print({{"target", Utf8(target->text)},
                   {"host", host.value},
                   {"kind", host.kind == platform::shell::TargetKind::Address ? "address" : "file"}});
}


// The command-line search collects its rows and runs without the window's
// pause; its issues are already parsed. An article that is there but cannot
// be read is said on the error stream.
class CollectingSink : public TextSearchSink {
public:
    explicit CollectingSink(std::ostream& err) : err_(err) {}
    void Progress(int) override {}
    void AddResult(int, int issue) override { rows.push_back(issue); }
    void ArticleUnreadable(const std::string& path) override
    {
        failed = ReportUnreadable(err_, "the article ", path) || failed;
    }
    std::vector<std::int32_t> rows;
    bool failed = false;

private:
    std::ostream& err_;
};

/// The query in code page 1251; nothing when the code page cannot hold it.
std::optional<std::string> QueryIn1251(const std::string& utf8)
{
    std::string query = platform::text::To1251FromUtf8(utf8);
    if (!platform::text::IsValidUtf8(utf8) || platform::text::Utf8From1251(query) != utf8)
        return std::nullopt;
    return query;
}

/// Status as grep's: 0 something found, 1 nothing found, 2 nothing found
/// and a contents page or an article could not be read.
int PrintSearch(const JournalCatalogue& catalogue, Library& library, const std::string& query1251,
                const SearchOptions& search, bool json, LinePrinter& printer, std::ostream& err)
{
    bool failed = false;
    for (const int i : ParseContentsPages(catalogue, library))
        failed = ReportUnreadable(err, "the contents page ", ContentsFilePath(catalogue, library, i)) || failed;
    ClearMatched(library);
    if (query1251.empty())
        return failed ? 2 : 1;
    const SearchQuery query(query1251, search.matchCase, search.wholeWord);
    std::vector<std::int32_t> rows;
    if (search.inText) {
        CollectingSink sink(err);
        RunTextSearchInParallel(library, query, sink, search.jobs);
        rows = std::move(sink.rows);
        failed = failed || sink.failed;
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
    return !rows.empty() ? 0 : failed ? 2 : 1;
}

/// A stored path of this host is printed in the host's form; a Windows path
/// (with a drive letter, or a network path) or an address stays as stored.
std::string HostLink(const std::string& link)
{
    if (link.starts_with('\\') && !link.starts_with("\\\\"))
        return platform::paths::ToHost(link);
    return Utf8(link);
}

/// Why a file given by its host path could not be read.
std::string FileProblem(const std::string& hostPath)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(hostPath, ec);
    return platform::files::ReadProblem(platform::paths::FromHost(ec ? hostPath : absolute.string()))
        .value_or("there is no such file");
}

// The favourites file as the program reads it. The tool never writes it, not
// even the empty file the program creates when there is none.
int RunFavorites(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    // A working directory asked for must be there, even where it is not used.
    Library library;
    JournalCatalogue catalogue = ReadStoredCatalogue().value_or(DefaultCatalogue());
    if (options.dir) {
        library.workPattern = WorkPatternFor(options, catalogue);
        std::optional<std::vector<std::string>> folders = ScanIssueFolders(catalogue, library.workPattern);
        if (!folders)
            return Fail(err, "cannot read the working directory " + HostDirectory(library.workPattern) + ": " +
                                 FolderProblem(library.workPattern));
        library.folderNames = std::move(*folders);
    }

    // The program's own file in any letter case, as the program finds it.
    FavoritesFile favorites(options.operands.empty() ? FavoritesFile::FindIn(".") : options.operands[0]);
    const std::string path =
        options.operands.empty() ? std::filesystem::path(favorites.path()).filename().string() : options.operands[0];
    bool damaged = false;
    const std::optional<FavoritesStore> read = favorites.Read(&damaged);
    if (!read)
        return Fail(err, "cannot read the favourites file " + path + ": " + FileProblem(favorites.path()));
    const FavoritesStore& store = *read;
    // Bytes of which not one section could be read are no favourites file.
    if (damaged && store.sections.empty())
        return Fail(err, path + " is not a favourites file");
    if (damaged)
        Fail(err, path + " is damaged; what could be read whole is shown");
    if (options.html) {
        // With a working directory, stored Windows paths find their pages here.
        if (!options.dir) {
            library.workPattern = settings::LoadWorkPattern();
            if (!library.workPattern.empty())
                library.folderNames =
                    ScanIssueFolders(catalogue, library.workPattern).value_or(std::vector<std::string>{});
        }
        const std::string here = std::filesystem::current_path().string();
        out << BookmarksHtml(store, [&](std::string_view link) { return FavoriteUrl(library, link, here); });
        return 0;
    }
    LinePrinter printer(out, options.json);
    for (std::size_t i = 0; i < store.sections.size(); ++i) {
        const TSelectedFolder& section = store.sections[i];
        for (const TSelected& article : section.articles)
            printer.Print({{"section", i},
                           {"name", Utf8(section.name)},
                           {"title", Utf8(options.json ? article.title : TitleOnOneLine(article.title))},
                           {"link", options.json ? Utf8(article.link) : HostLink(article.link)}});
    }
    return 0;
}

/// The commands that read the working directory. Compiled-help issues are
/// unpacked first, as the window does, so both list the same issues. A
/// search that finds nothing ends with 1 and any failure of it with 2, as
/// grep's do.
int RunOnLibrary(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    const bool search = options.command == "search";
    const int failure = search ? 2 : 1;
    std::optional<std::string> query1251;
    if (search) {
        query1251 = QueryIn1251(options.operands[0]);
        if (!query1251)
            return Fail(err, "the query holds characters that code page 1251 cannot hold", 2);
    }

    JournalCatalogue catalogue = ReadStoredCatalogue().value_or(DefaultCatalogue());
    const std::string workPattern = WorkPatternFor(options, catalogue);
    if (workPattern.empty())
        return Fail(err, "no working directory: none is stored, give one with --dir", failure);
    RefusingHost host(err);
    PrepareCompiledHelpIssues(host, workPattern);
    std::optional<std::vector<std::string>> folders = ScanIssueFolders(catalogue, workPattern);
    if (!folders)
        return Fail(err, "cannot read the working directory " + HostDirectory(workPattern) + ": " +
                             FolderProblem(workPattern), failure);
    if (folders->empty())
        return Fail(err, "no issue folder found in " + HostDirectory(workPattern), failure);

    Library library;
    library.workPattern = workPattern;
    BuildLibraryFrom(catalogue, library, std::move(*folders));
    if (options.issue >= library.issueCount())
        return Fail(err, "issue " + std::to_string(options.issue) + " out of range (0 to " +
                             std::to_string(library.issueCount() - 1) + ")");

    LinePrinter printer(out, options.json);
    if (options.command == "list")
        PrintList(library, printer);
    else if (options.command == "toc")
        return PrintContents(catalogue, library, options.issue, printer, err);
    else if (search)
        return PrintSearch(catalogue, library, *query1251, options.search, options.json, printer, err);
    else
        PrintTarget(library, options.issue,
                    platform::text::To1251FromUtf8(options.operands.size() > 1 ? options.operands[1] : ""),
                    options.json, printer);
    return 0;
}

int RunCommand(const ParsedCommandLine& parsed, std::ostream& out, std::ostream& err)
{
    if (parsed.options.help) {
        out << kCliUsage;
        return 0;
    }
    if (parsed.options.version) {
        out << "vestrels-cli " VESTRELS_VERSION "\n";
        return 0;
    }
    if (!parsed.mistake.empty())
        return WrongUsage(err, parsed.mistake);
    if (parsed.options.command == "favorites")
        return RunFavorites(parsed.options, out, err);
    return RunOnLibrary(parsed.options, out, err);
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const ParsedCommandLine parsed = ParseCommandLine(args);
    const int status = RunCommand(parsed, out, err);
    // What could not be written (a full disk, a closed pipe) shows only when
    // the last of it is flushed: a cut file is never reported as done.
    errno = 0;
    out.flush();
    if (out)
        return status;
    const int cause = errno;
    const bool search = parsed.options.command == "search" && !parsed.options.help && !parsed.options.version;
    return Fail(err, std::string("cannot write the output: ") + (cause ? std::strerror(cause) : "write error"),
                search ? 2 : 1);
}
