// SPDX-License-Identifier: GPL-3.0-or-later
// The contents parser: recognises the elements of a table-of-contents page by
// a handful of fixed tokens on its text lines and cuts a title and a link out
// of each. It does not interpret HTML.
//
// Every scan is a plain forward search over the page bytes, and no byte is
// searched more than a few times, so a page is read in time linear in its
// size. An element on one line is examined in place; only one spanning
// several lines is glued into a reused buffer. A title is cleaned straight
// into its entry.

#include "core/library/contents_parser.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "core/catalogue/catalogue_folders.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text1251.h"

namespace {

// A back link, not an article.
std::string_view BackWord()
{
    static const std::string word = Cp1251("Назад");
    return word;
}
constexpr std::string_view kTitleIndent = "     ";

// Tokens are found by a memchr for one of their bytes (the rarer one in
// HTML where it matters) and a compare around it: on short texts this beats
// both string_view::find and memmem, which pay a setup per call.
std::size_t FindToken(std::string_view text, std::string_view token, std::size_t anchor = 0)
{
    if (text.size() < token.size())
        return std::string_view::npos;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* from = begin + anchor;
    const std::size_t tail = token.size() - anchor;
    while (end - from >= static_cast<std::ptrdiff_t>(tail)) {
        const void* hit = std::memchr(from, token[anchor], static_cast<std::size_t>(end - from) - tail + 1);
        if (!hit)
            break;
        const char* start = static_cast<const char*>(hit) - anchor;
        if (std::memcmp(start, token.data(), token.size()) == 0)
            return static_cast<std::size_t>(start - begin);
        from = static_cast<const char*>(hit) + 1;
    }
    return std::string_view::npos;
}

bool Contains(std::string_view text, std::string_view token, std::size_t anchor = 0)
{
    return FindToken(text, token, anchor) != std::string_view::npos;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool HasAt(std::string_view text, std::size_t pos, std::string_view token)
{
    if (pos > text.size() || text.size() - pos < token.size())
        return false;
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (text[pos + i] != token[i])
            return false;
    }
    return true;
}

/// Position of the first "<tr>", "<li>", "<a" or "<OBJECT" (case-sensitive)
/// at or after `from`.
std::size_t FindStartToken(std::string_view page, std::size_t from)
{
    for (std::size_t p = page.find('<', from); p != std::string_view::npos; p = page.find('<', p + 1)) {
        const std::size_t next = p + 1;
        if (HasAt(page, next, "a") || HasAt(page, next, "tr>") || HasAt(page, next, "li>") ||
            HasAt(page, next, "OBJECT"))
            return p;
    }
    return std::string_view::npos;
}

/// Position of the first "</tr>", "</li>", "/a>" or "</OBJECT>" that lies
/// wholly at or after `from`.
std::size_t FindClosingToken(std::string_view page, std::size_t from)
{
    for (std::size_t p = page.find('/', from); p != std::string_view::npos; p = page.find('/', p + 1)) {
        if (HasAt(page, p + 1, "a>"))
            return p;
        if (p > from && page[p - 1] == '<' &&
            (HasAt(page, p + 1, "tr>") || HasAt(page, p + 1, "li>") || HasAt(page, p + 1, "OBJECT>")))
            return p;
    }
    return std::string_view::npos;
}

/// The lines of `text` glued together without their "\n" or "\r\n" breaks.
void GlueLines(std::string_view text, std::string& glued)
{
    glued.clear();
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            glued.append(text.substr(start));
            return;
        }
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        glued.append(text.substr(start, stop - start));
        start = end + 1;
    }
}

// Title cleaning copies long stretches that hold neither "&" nor two spaces
// in a row; eight bytes are tested at a time for the two spaces.

const char* FindByte(const char* from, const char* end, char byte)
{
    return static_cast<const char*>(std::memchr(from, byte, static_cast<std::size_t>(end - from)));
}

/// High bit of every byte of `word` that is a space, exactly (no carries
/// between bytes).
std::uint64_t SpaceBytes(std::uint64_t word)
{
    constexpr std::uint64_t kSpaces = 0x2020202020202020ull;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t x = word ^ kSpaces;
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

/// The first of two spaces in a row in [from, end), or nullptr.
const char* FindDoubleSpace(const char* from, const char* end)
{
    while (end - from >= 9) {
        std::uint64_t here, next;
        std::memcpy(&here, from, 8);
        std::memcpy(&next, from + 1, 8);
        if (const std::uint64_t both = SpaceBytes(here) & SpaceBytes(next)) {
            // The byte at the lowest address: the lowest one on a little-endian host.
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(both)
                                                                        : std::countl_zero(both);
            return from + bit / 8;
        }
        from += 8;
    }
    for (; end - from >= 2; ++from)
        if (from[0] == ' ' && from[1] == ' ')
            return from;
    return nullptr;
}

/// Copies [from, end) to `to` with every run of spaces shrunk to one;
/// returns the new end of the output.
char* CopyShrinkingSpaces(const char* from, const char* end, char* to)
{
    while (from < end) {
        const char* pair = FindDoubleSpace(from, end);
        const char* const stop = pair ? pair + 1 : end;
        std::memcpy(to, from, static_cast<std::size_t>(stop - from));
        to += stop - from;
        from = stop;
        while (from < end && *from == ' ')
            ++from;
    }
    return to;
}

/// Appends `text` cleaned: leading blanks removed, runs of spaces shrunk
/// to one, then every "&...;" deleted up to the first "&" without a later
/// ";". One pass does both steps: deleting a reference from the shrunk text
/// is skipping it in the source, and the ";" ending it is no space, so the
/// space after a reference is kept.
void AppendCleaned(std::string_view text, std::string& out)
{
    // The result is never longer than the text: written in place behind
    // what `out` holds, then cut to length.
    const std::size_t base = out.size();
    out.resize(base + text.size());
    char* const first = out.data() + base;
    char* to = first;
    const char* from = text.data();
    const char* const end = from + text.size();
    while (from < end && IsBlank(*from))
        ++from;
    // A stretch starts after a deleted reference or at an "&" that stays,
    // never right after a space it would have to drop.
    bool referencesEnded = false;
    while (from < end) {
        const char* amp = referencesEnded ? nullptr : FindByte(from, end, '&');
        const char* const stretchEnd = amp ? amp : end;
        to = CopyShrinkingSpaces(from, stretchEnd, to);
        if (!amp)
            break;
        const char* semi = FindByte(amp + 1, end, ';');
        if (!semi) {
            referencesEnded = true;  // this "&" and all after it stay
            from = amp;
            continue;
        }
        from = semi + 1;
    }
    out.resize(base + static_cast<std::size_t>(to - first));
}

/// Starting at `from`, the first text run between tags that survives
/// cleaning, appended to `title`; false when the element has none.
bool AppendTitle(std::string_view element, std::size_t from, std::string& title)
{
    const std::size_t base = title.size();
    const std::size_t last = element.size() - 1;
    std::size_t current = from;
    for (;;) {
        std::size_t g = element.find('>', current);
        if (g == std::string_view::npos || g == last)
            return false;
        while (element[g + 1] == '<') {
            g = element.find('>', g + 1);
            if (g == std::string_view::npos || g == last)
                return false;
        }
        const std::size_t l = element.find('<', g + 1);
        if (l == std::string_view::npos)
            return false;
        AppendCleaned(element.substr(g + 1, l - g - 1), title);
        if (title.size() > base)
            return true;
        current = l;
    }
}

/// Steps 5 to 7 for one element: stores its link in `entry` and, when the
/// element is accepted, its title. Returns whether the element was accepted.
/// The title is put together in `scratch`, so the entry gets it in one
/// allocation of its final size.
bool TakeElement(std::string_view element, ArticleEntry& entry, std::string& scratch)
{
    std::size_t titleFrom = 0;
    const std::size_t href = FindToken(element, "href=", 4);
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

    scratch.assign(kTitleIndent);
    const bool accepted = AppendTitle(element, titleFrom, scratch) && !Contains(scratch, BackWord()) &&
                          !Contains(scratch, "http:", 4);
    if (accepted)
        entry.title.assign(scratch);
    else
        entry.title.clear();
    return accepted;
}

void ClearEntries(IssueRecord& issue)
{
    for (ArticleEntry& entry : issue.articles) {
        entry.title.clear();
        entry.link.clear();
        entry.hitRect = {};
        entry.mark = kMarkPlain;
    }
}

}  // namespace

void CleanTitle(std::string& text)
{
    std::string cleaned;
    cleaned.reserve(text.size());
    AppendCleaned(text, cleaned);
    text = std::move(cleaned);
}

// Elements are found with page-wide scans rather than line by line: a line
// without a start token costs no more than the search passing over it, and
// the closing token is sought from the start of the element's first line, so
// the first line that holds one ends the element.
void ParseContentsPage(std::string_view page, IssueRecord& issue)
{
    ClearEntries(issue);
    std::string glued;  // reused for elements spanning several lines
    std::string title;  // reused for each element's title
    int k = 0;
    std::size_t pos = 0;
    // Once the hundredth entry is taken nothing can change any more: later
    // elements have no slot, not even for a stray link.
    while (k < kEntriesPerIssue && pos < page.size()) {
        const std::size_t start = FindStartToken(page, pos);
        if (start == std::string_view::npos)
            return;
        std::size_t lineStart = start;
        while (lineStart > pos && page[lineStart - 1] != '\n')
            --lineStart;
        const std::size_t firstBreak = page.find('\n', start);
        const std::size_t closing = FindClosingToken(page, lineStart);
        // An element still open at the end of the page is taken as read.
        const std::size_t lastBreak = closing == std::string_view::npos ? std::string_view::npos
                                      : closing < firstBreak            ? firstBreak
                                                                        : page.find('\n', closing);
        const std::size_t end = lastBreak == std::string_view::npos ? page.size() : lastBreak;
        pos = lastBreak == std::string_view::npos ? page.size() : lastBreak + 1;

        std::string_view element = page.substr(lineStart, end - lineStart);
        if (end <= firstBreak) {  // one line
            if (lastBreak != std::string_view::npos && element.back() == '\r')
                element.remove_suffix(1);
        } else {
            GlueLines(lastBreak == std::string_view::npos ? element : page.substr(lineStart, end + 1 - lineStart),
                      glued);
            element = glued;
        }
        if (Contains(element, "Copyright"))
            return;
        if (TakeElement(element, issue.articles[k], title))
            ++k;
    }
}

std::string ContentsFilePath(const JournalCatalogue& catalogue, const Library& library, int issue)
{
    const std::string& name = library.folderNames[static_cast<std::size_t>(issue)];
    return FolderPath(library.workPattern, name) + ContentsPathFor(catalogue, name);
}

std::vector<int> ParseContentsPages(const JournalCatalogue& catalogue, Library& library)
{
    if (library.issues.size() < library.folderNames.size())
        library.issues.resize(library.folderNames.size());
    std::vector<int> unreadable;
    for (int i = 0; i < library.issueCount(); ++i) {
        IssueRecord& issue = library.issues[static_cast<std::size_t>(i)];
        const std::optional<std::string> page = platform::files::ReadWholeFile(ContentsFilePath(catalogue, library, i));
        if (!page) {
            ClearEntries(issue);
            unreadable.push_back(i);
            continue;
        }
        ParseContentsPage(*page, issue);
    }
    return unreadable;
}

void ParseContents(platform::HostUi& host, const JournalCatalogue& catalogue, Library& library)
{
    for (const int i : ParseContentsPages(catalogue, library))
        host.ShowMessage(platform::paths::ForDisplay(ContentsFilePath(catalogue, library, i)),
                         Cp1251("Ошибка открытия файла"), platform::MessageIcon::Error,
                         platform::MessageButtons::Ok);
}
