// SPDX-License-Identifier: GPL-3.0-or-later
// The matching rules of the search: the query as it is matched, the match
// of a text (first occurrence, whole words, Windows-1251 case folding) and
// the tag filter that hands an article file's text to the match.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/library/issue_record.h"

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
/// file: one filter serves a whole search. A file may come in pieces cut
/// anywhere: a line cut in two is carried over to the next piece.
class TagFilter {
public:
    /// Hands the pieces of every line of `bytes` to `take`, in order; tags
    /// are deleted and the text on both sides joined. Lines end at "\n" (a
    /// "\r" before it belongs to the terminator); text after the last "\n"
    /// is a line too.
    template <class Take>
    void Lines(std::string_view bytes, Take&& take)
    {
        Feed(bytes, take);
        Finish(take);
    }

    /// Lines for the next piece of a file; a line it leaves unfinished waits
    /// for the next piece, or for Finish at the end of the file.
    template <class Take>
    void Feed(std::string_view bytes, Take&& take);
    /// The end of a file: its last line, when it has no terminator.
    template <class Take>
    void Finish(Take&& take);

    bool inTag = false;
    /// A line with "<" or ">" went by: `inTag` no longer depends on the
    /// value it had when the filter started. A filter that starts from an
    /// unknown state clears it.
    bool tagSeen = true;
    /// A line with neither "<" nor ">" was judged by `inTag` while
    /// `tagSeen` was clear: what was handed over depends on the start.
    bool dependsOnStart = false;

    /// A line began in an earlier piece and waits for its end.
    bool Carrying() const { return carried_; }

private:
    // One line's state while its bytes go by.
    const char* lineStart_ = nullptr;   ///< in the current piece
    const char* pieceStart_ = nullptr;  ///< the text that is kept, from here
    bool hasLt_ = false;
    bool strayGt_ = false;    ///< a ">" outside a tag
    bool inside_ = false;
    bool carried_ = false;    ///< the line began in an earlier piece
    bool carriedCr_ = false;  ///< ...which ended with a kept "\r"
    std::string_view onlyPiece_;  ///< the line's text while it is one stretch
    std::string joined_;          ///< the line with its tags deleted, once it is more

    void StartLine(const char* at);
    void AddPiece(const char* from, const char* to);
    void CarryLine(const char* end);
    template <class Take>
    void EndLine(const char* end, Take& take);
};

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
void TagFilter::Feed(std::string_view bytes, Take&& take)
{
    if (bytes.empty())
        return;
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    if (carried_)
        lineStart_ = pieceStart_ = begin;
    else
        StartLine(begin);
    ForEachTagOrLineByte(begin, end, [&](const char* p) {
        switch (*p) {
        case '\n':
            if (p > lineStart_ && p[-1] == '\r') {
                EndLine(p - 1, take);
            } else {
                if (p == begin && carriedCr_)
                    joined_.pop_back();
                EndLine(p, take);
            }
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
            if (inside_) {
                inside_ = false;
                pieceStart_ = p + 1;
            } else {
                // Without "<" only the rest after the first ">" counts.
                if (!hasLt_ && !strayGt_) {
                    onlyPiece_ = {};
                    joined_.clear();
                    pieceStart_ = p + 1;
                }
                strayGt_ = true;
            }
        }
    });
    CarryLine(end);
}

template <class Take>
void TagFilter::Finish(Take&& take)
{
    if (!carried_)
        return;
    EndLine(pieceStart_, take);
    StartLine(nullptr);
}

inline void TagFilter::StartLine(const char* at)
{
    lineStart_ = pieceStart_ = at;
    hasLt_ = strayGt_ = inside_ = carried_ = carriedCr_ = false;
    onlyPiece_ = {};
    joined_.clear();
}

template <class Take>
void TagFilter::EndLine(const char* end, Take& take)
{
    if (!inside_)
        AddPiece(pieceStart_, end);
    if (!hasLt_) {
        if (strayGt_) {
            inTag = false;
            tagSeen = true;
        } else {
            if (!tagSeen && (!onlyPiece_.empty() || !joined_.empty()))
                dependsOnStart = true;
            if (inTag)
                return;
        }
    } else {
        inTag = inside_;
        tagSeen = true;
        if (inside_ || strayGt_)
            return;
    }
    if (!joined_.empty())
        take(std::string_view(joined_));
    else if (!onlyPiece_.empty())
        take(onlyPiece_);
}

/// The piece ends inside a line: what is kept of it so far is copied, as the
/// piece's bytes go before the line ends.
inline void TagFilter::CarryLine(const char* end)
{
    carried_ = lineStart_ < end;
    if (!carried_)
        return;
    carriedCr_ = !inside_ && end[-1] == '\r';
    if (!inside_)
        AddPiece(pieceStart_, end);
    if (!onlyPiece_.empty()) {
        joined_.assign(onlyPiece_);
        onlyPiece_ = {};
    }
    pieceStart_ = end;
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
