// The search engine: matching a query against a text, the tag filter that
// hands the text of article files to the match, the title search over the
// library in memory and the text search over the article files.
//
// Both searches mark every article they visit (mark 1 found, 0 not) and set
// `matched` on every issue with a found article. Marks are written through
// std::atomic_ref: the article view reads them while a text search runs.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/library.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    /// The raw bytes that fold to the search text's first and last byte,
    /// when there are at most two of each (a letter and its capital).
    std::array<unsigned char, 2> firstBytes_{}, lastBytes_{};
    bool wideSteps_ = false;

    std::size_t FindFrom(std::string_view text, std::size_t at) const;
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
    /// Hands the pieces of every line of `bytes` to `take`, in order; tags
    /// are deleted and the text on both sides joined. Lines end at "\n" (a
    /// "\r" before it belongs to the terminator); text after the last "\n"
    /// is a line too.
    template <class Take>
    void Lines(std::string_view bytes, Take&& take);

    /// Hands every piece of a file's bytes to MatchText for `article`. True
    /// when some piece matched.
    bool SearchFile(std::string_view bytes, const SearchQuery& query, IssueRecord& issue, int article);

    bool inTag = false;

private:
    // One line's state while its bytes go by.
    const char* lineStart_ = nullptr;
    const char* pieceStart_ = nullptr;
    const char* firstGt_ = nullptr;
    bool hasLt_ = false;
    bool strayGt_ = false;
    bool inside_ = false;
    std::string_view onlyPiece_;  ///< the line's text while it is one stretch
    std::string joined_;          ///< the line with its tags deleted, once it is more

    void StartLine(const char* at);
    void AddPiece(const char* from, const char* to);
    template <class Take>
    void EndLine(const char* end, Take& take);
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

/// Calls `visit` with the position of every "\n", "<" and ">" of
/// [begin, end), in order. Sixty-four bytes are tested at a time where the
/// processor has the vector instructions for it.
template <class Visit>
void ForEachTagOrLineByte(const char* begin, const char* end, Visit&& visit)
{
    const char* p = begin;
#if defined(__SSE2__)
    const __m128i nl = _mm_set1_epi8('\n');
    const __m128i lt = _mm_set1_epi8('<');
    const __m128i gt = _mm_set1_epi8('>');
    const auto specials = [&](const char* at) -> std::uint64_t {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, nl), _mm_cmpeq_epi8(v, lt)), _mm_cmpeq_epi8(v, gt));
        return static_cast<std::uint32_t>(_mm_movemask_epi8(hit));
    };
    for (; end - p >= 64; p += 64) {
        std::uint64_t mask = specials(p) | specials(p + 16) << 16 | specials(p + 32) << 32 | specials(p + 48) << 48;
        for (; mask; mask &= mask - 1)
            visit(p + std::countr_zero(mask));
    }
#endif
    for (; p < end; ++p)
        if (*p == '\n' || *p == '<' || *p == '>')
            visit(p);
}

// The filter's rules, per line, as one pass over the line's "<" and ">":
// outside a tag at the start of the line, whatever `inTag` says; a ">"
// outside a tag stays in the text. What is handed over follows from what the
// line holds:
//   no "<" and no ">": the line itself, unless inside a tag;
//   ">" but no "<":    the rest after the first ">";
//   "<":               the line with its tags deleted, unless it ends inside
//                      a tag or still holds a ">".
// After a line with "<" or ">", `inTag` says whether its last such byte is
// "<"; a line with neither leaves it as it was.
template <class Take>
void TagFilter::Lines(std::string_view bytes, Take&& take)
{
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    StartLine(begin);
    ForEachTagOrLineByte(begin, end, [&](const char* p) {
        switch (*p) {
        case '\n':
            EndLine(p > lineStart_ && p[-1] == '\r' ? p - 1 : p, take);
            StartLine(p + 1);
            break;
        case '<':
            if (!inside_) {
                AddPiece(pieceStart_, p);
                inside_ = true;
            }
            hasLt_ = true;
            break;
        default:  // '>'
            if (!firstGt_)
                firstGt_ = p;
            if (inside_) {
                inside_ = false;
                pieceStart_ = p + 1;
            } else {
                strayGt_ = true;
            }
        }
    });
    if (lineStart_ < end)
        EndLine(end, take);
}

inline void TagFilter::StartLine(const char* at)
{
    lineStart_ = pieceStart_ = at;
    firstGt_ = nullptr;
    hasLt_ = strayGt_ = inside_ = false;
    onlyPiece_ = {};
    joined_.clear();
}

template <class Take>
void TagFilter::EndLine(const char* end, Take& take)
{
    if (!hasLt_) {
        if (firstGt_) {
            inTag = false;
            if (firstGt_ + 1 < end)
                take(std::string_view(firstGt_ + 1, static_cast<std::size_t>(end - firstGt_ - 1)));
        } else if (end > lineStart_ && !inTag) {
            take(std::string_view(lineStart_, static_cast<std::size_t>(end - lineStart_)));
        }
        return;
    }
    inTag = inside_;
    if (inside_ || strayGt_)
        return;
    AddPiece(pieceStart_, end);
    if (!joined_.empty())
        take(std::string_view(joined_));
    else if (!onlyPiece_.empty())
        take(onlyPiece_);
}

inline void TagFilter::AddPiece(const char* from, const char* to)
{
    if (from == to)
        return;
    const std::string_view piece(from, static_cast<std::size_t>(to - from));
    // Most lines hold one stretch of text: it is matched where it stands,
    // and only a second one makes the joined copy.
    if (onlyPiece_.empty() && joined_.empty()) {
        onlyPiece_ = piece;
        return;
    }
    if (joined_.empty()) {
        joined_.assign(onlyPiece_);
        onlyPiece_ = {};
    }
    joined_.append(piece);
}
