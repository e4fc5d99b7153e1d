// The contents parser: recognises the elements of a table-of-contents page by
// a handful of fixed tokens on its text lines and cuts a title and a link out
// of each. It does not interpret HTML.
//
// Every scan is a plain forward search over the page bytes; an element that
// spans one line is examined in place, only a multi-line element is glued into
// a reused buffer. Closing tokens are looked for on the newest line alone, so
// a page is read in time linear in its size.

#include "library/contents_parser.h"

#include <optional>
#include <string>
#include <utility>

#include "library/discovery.h"
#include "platform/files.h"

namespace {

// "Назад" in code page 1251: a back link, not an article.
constexpr std::string_view kBackWord = "\xCD\xE0\xE7\xE0\xE4";
// "Ошибка открытия файла" in code page 1251.
constexpr const char* kOpenErrorCaption =
    "\xCE\xF8\xE8\xE1\xEA\xE0 \xEE\xF2\xEA\xF0\xFB\xF2\xE8\xFF \xF4\xE0\xE9\xEB\xE0";
constexpr std::string_view kTitleIndent = "     ";

bool Contains(std::string_view text, std::string_view token)
{
    return text.find(token) != std::string_view::npos;
}

bool HasAt(std::string_view text, std::size_t pos, std::string_view token)
{
    return text.substr(pos, token.size()) == token;
}

/// "<tr>", "<li>", "<a" or "<OBJECT" anywhere in the line (case-sensitive).
bool HasStartToken(std::string_view line)
{
    for (std::size_t p = line.find('<'); p != std::string_view::npos; p = line.find('<', p + 1)) {
        const std::size_t next = p + 1;
        if (HasAt(line, next, "a") || HasAt(line, next, "tr>") || HasAt(line, next, "li>") ||
            HasAt(line, next, "OBJECT"))
            return true;
    }
    return false;
}

/// "</tr>", "</li>", "/a>" or "</OBJECT>" anywhere in the line.
bool HasClosingToken(std::string_view line)
{
    for (std::size_t p = line.find('/'); p != std::string_view::npos; p = line.find('/', p + 1)) {
        if (HasAt(line, p + 1, "a>"))
            return true;
        if (p > 0 && line[p - 1] == '<' &&
            (HasAt(line, p + 1, "tr>") || HasAt(line, p + 1, "li>") || HasAt(line, p + 1, "OBJECT>")))
            return true;
    }
    return false;
}

/// Hands out the page's lines; a line ends at "\n" or "\r\n", which is not
/// part of it, and a last line without a break still counts.
class LineReader {
public:
    explicit LineReader(std::string_view page) : page_(page) {}

    bool Next(std::string_view& line)
    {
        if (pos_ >= page_.size())
            return false;
        const std::size_t end = page_.find('\n', pos_);
        const std::size_t stop = end == std::string_view::npos ? page_.size() : end;
        line = page_.substr(pos_, stop - pos_);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos_ = end == std::string_view::npos ? page_.size() : end + 1;
        return true;
    }

private:
    std::string_view page_;
    std::size_t pos_ = 0;
};

/// Starting at `from`, the first text run between tags that survives
/// cleaning; empty when the element has none.
std::string FindTitle(std::string_view element, std::size_t from)
{
    const std::size_t last = element.size() - 1;
    std::size_t current = from;
    for (;;) {
        std::size_t g = element.find('>', current);
        if (g == std::string_view::npos || g == last)
            return {};
        while (element[g + 1] == '<') {
            g = element.find('>', g + 1);
            if (g == std::string_view::npos || g == last)
                return {};
        }
        const std::size_t l = element.find('<', g + 1);
        if (l == std::string_view::npos)
            return {};
        std::string candidate(element.substr(g + 1, l - g - 1));
        CleanTitle(candidate);
        if (!candidate.empty())
            return candidate;
        current = l;
    }
}

/// Steps 5 to 7 for one element: stores its link in `entry` and, when the
/// element is accepted, its title. Returns whether the element was accepted.
bool TakeElement(std::string_view element, ArticleEntry& entry)
{
    std::size_t titleFrom = 0;
    const std::size_t href = element.find("href=");
    if (href != std::string_view::npos) {
        const std::size_t open = element.find('"', href);
        if (open == std::string_view::npos)
            return false;
        const std::size_t close = element.find('"', open + 1);
        if (close == std::string_view::npos)
            entry.link.clear();
        else
            entry.link.assign(element.substr(open + 1, close - open - 1));
        titleFrom = open;
    } else {
        entry.link.clear();
    }

    std::string title = FindTitle(element, titleFrom);
    if (title.empty() || Contains(title, kBackWord) || Contains(title, "http:"))
        return false;
    entry.title.assign(kTitleIndent).append(title);
    return true;
}

}  // namespace

void CleanTitle(std::string& text)
{
    if (text.find_first_of(" \t&") == std::string::npos)
        return;

    // Leading blanks go, then runs of spaces shrink to one (tabs stay).
    std::string shrunk;
    shrunk.reserve(text.size());
    std::size_t i = text.find_first_not_of(" \t");
    for (; i != std::string::npos && i < text.size(); ++i) {
        if (text[i] == ' ' && !shrunk.empty() && shrunk.back() == ' ')
            continue;
        shrunk.push_back(text[i]);
    }

    // Then every "&...;" is deleted, up to the first "&" without a later ";".
    std::string result;
    result.reserve(shrunk.size());
    std::size_t from = 0;
    for (;;) {
        const std::size_t amp = shrunk.find('&', from);
        const std::size_t semi = amp == std::string::npos ? amp : shrunk.find(';', amp + 1);
        if (semi == std::string::npos) {
            result.append(shrunk, from, std::string::npos);
            break;
        }
        result.append(shrunk, from, amp - from);
        from = semi + 1;
    }
    text = std::move(result);
}

void ParseContentsPage(std::string_view page, IssueRecord& issue)
{
    issue.articles = {};
    LineReader reader(page);
    std::string glued;  // reused for elements spanning several lines
    int k = 0;
    std::string_view line;
    // Once the hundredth entry is taken nothing can change any more: later
    // elements have no slot, not even for a stray link.
    while (k < kEntriesPerIssue && reader.Next(line)) {
        if (!HasStartToken(line))
            continue;
        std::string_view element = line;
        if (!HasClosingToken(line)) {
            glued.assign(line);
            // An element still open at the end of the page is taken as read.
            while (reader.Next(line)) {
                glued.append(line);
                if (HasClosingToken(line))
                    break;
            }
            element = glued;
        }
        if (Contains(element, "Copyright"))
            return;
        if (TakeElement(element, issue.articles[k]))
            ++k;
    }
}

std::string ContentsFilePath(const JournalCatalogue& catalogue, const Library& library, int issue)
{
    const std::string& name = library.folderNames[static_cast<std::size_t>(issue)];
    return FolderPath(library.workPattern, name) + ContentsPathFor(catalogue, name);
}

void ParseContents(platform::HostUi& host, const JournalCatalogue& catalogue, Library& library)
{
    if (library.issues.size() < library.folderNames.size())
        library.issues.resize(library.folderNames.size());
    for (int i = 0; i < library.issueCount(); ++i) {
        IssueRecord& issue = library.issues[static_cast<std::size_t>(i)];
        const std::string path = ContentsFilePath(catalogue, library, i);
        const std::optional<std::string> page = platform::files::ReadWholeFile(path);
        if (!page) {
            issue.articles = {};
            host.ShowMessage(path, kOpenErrorCaption, platform::MessageIcon::Error, platform::MessageButtons::Ok);
            continue;
        }
        ParseContentsPage(*page, issue);
    }
}
