// The search engine: matching a query against a text, the tag filter that
// hands the text of article files to the match, the title search over the
// library in memory and the text search over the article files.
//
// Both searches mark every article they visit (mark 1 found, 0 not) and set
// `matched` on every issue with a found article. Marks are written through
// std::atomic_ref: the article view reads them while a text search runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/library.h"

/// The query as it is matched: `searchText` is the query lower-cased unless
/// case matters. Built once per search.
class SearchQuery {
public:
    SearchQuery(std::string_view query, bool matchCase, bool wholeWord);

    const std::string& searchText() const { return searchText_; }
    bool matchCase() const { return matchCase_; }
    bool wholeWord() const { return wholeWord_; }

    /// The first occurrence of the search text in `text` (lower-cased first
    /// unless case matters), or npos.
    std::size_t Find(std::string_view text) const;

    /// Whether `text` holds the search text; with whole words only the first
    /// occurrence is looked at, and a byte from 0x30 up on either side of it
    /// makes it part of a longer word.
    bool Matches(std::string_view text) const;

private:
    std::string searchText_;
    bool matchCase_;
    bool wholeWord_;
    std::array<unsigned char, 256> fold_{};  ///< the code page's lower case, or every byte itself
    std::array<std::uint32_t, 256> shift_{};  ///< how far a window may move, by the raw byte under its end
};

/// Sets the issue's `matched` and the article's `mark` to 1 when `text`
/// matches; changes nothing otherwise. The text itself is left as it is: the
/// case is folded while comparing.
bool MatchText(std::string_view text, const SearchQuery& query, IssueRecord& issue, int article);

/// Turns the lines of article files into the pieces of text that are matched.
/// `inTag` (inside an HTML tag) is carried from line to line and from file to
/// file: one filter serves a whole search.
class TagFilter {
public:
    /// The pieces of one line (without its terminator), each handed to
    /// `take`; tags are deleted and the text on both sides joined.
    template <class Take>
    void Line(std::string_view line, Take&& take);

    /// Hands every piece of every line of a file's bytes to MatchText for
    /// `article`; lines end at "\n" (a "\r" before it is part of the
    /// terminator). True when some piece matched.
    bool SearchFile(std::string_view bytes, const SearchQuery& query, IssueRecord& issue, int article);

    bool inTag = false;

private:
    std::string joined_;  ///< a line with its tags deleted, reused
};

/// Clears `matched` of every issue before a search.
void ClearMatched(Library& library);

/// The title search: marks the articles of every issue whose title matches
/// and returns the matching issues in order (the result table; one row per
/// entry).
std::vector<std::int32_t> SearchTitles(Library& library, const SearchQuery& query);

/// The file the text search reads for an article of issue `issue`: the one
/// opening the article opens, without a "#fragment" or "?query" part.
/// Nothing for an empty link, a link naming "http:" or "file:", or a link
/// that opens an address.
std::optional<std::string> ArticleFilePath(const Library& library, int issue, std::string_view link);

/// What the text search reports while it runs. The window's worker calls
/// the user interface from here; the command-line tool collects results.
class TextSearchSink {
public:
    virtual ~TextSearchSink() = default;
    /// Called before each issue, before its progress.
    virtual void PauseBeforeIssue() {}
    /// The issue about to be read, or -1 once the search ends.
    virtual void Progress(int issue) = 0;
    /// Read before each issue: true ends the search there.
    virtual bool CancelRequested() { return false; }
    /// Issue `issue` matched; it is result `row` (rows count from 0).
    virtual void AddResult(int row, int issue) = 0;
};

/// The text search: reads the article files of every issue in order,
/// marking what matched, until the end or a cancel between two issues.
void RunTextSearch(Library& library, const SearchQuery& query, TextSearchSink& sink);

/// The positions of an issue's entry range (up to and including the first
/// entry with an empty title) whose mark is 1.
std::vector<int> FoundPositions(const IssueRecord& issue);

// ----------------------------------------------------------------------------

template <class Take>
void TagFilter::Line(std::string_view line, Take&& take)
{
    // One pass with the line's own state machine: outside a tag at the start
    // of the line, whatever `inTag` says; a ">" outside a tag stays in the
    // text. What is handed over follows from what the line holds:
    //   no "<" and no ">": the line itself, unless inside a tag;
    //   ">" but no "<":    the rest after the first ">";
    //   "<":               the line with its tags deleted, unless it ends
    //                      inside a tag or still holds a ">".
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    const char* firstGt = nullptr;
    const char* pieceStart = begin;
    bool hasLt = false;
    bool strayGt = false;
    bool inside = false;
    joined_.clear();
    for (const char* p = begin; p < end; ++p) {
        const char c = *p;
        if (c == '<') {
            if (!inside) {
                joined_.append(pieceStart, static_cast<std::size_t>(p - pieceStart));
                inside = true;
            }
            hasLt = true;
        } else if (c == '>') {
            if (!firstGt)
                firstGt = p;
            if (inside) {
                inside = false;
                pieceStart = p + 1;
            } else {
                strayGt = true;
            }
        }
    }
    if (!hasLt) {
        if (firstGt) {
            inTag = false;
            if (firstGt + 1 < end)
                take(std::string_view(firstGt + 1, static_cast<std::size_t>(end - firstGt - 1)));
        } else if (!line.empty() && !inTag) {
            take(line);
        }
        return;
    }
    inTag = inside;
    if (inside || strayGt)
        return;
    joined_.append(pieceStart, static_cast<std::size_t>(end - pieceStart));
    if (!joined_.empty())
        take(std::string_view(joined_));
}
