// SPDX-License-Identifier: GPL-3.0-or-later
// The text search's first pass: the lines of an article file that cannot
// hold the query are passed over with a vector scan, and only the others go
// through the tag filter and the match.
//
// The filter only deletes bytes (tags: "<" to ">"; a line without "<" loses
// what stands before its first ">"), so a found text's bytes stand in the
// raw line in order, apart from deleted stretches that begin with "<" and
// end with ">". A line can therefore hold the query only where one byte of
// it, the anchor (its rarest in common text), stands with the query's bytes
// before it back to the start of the query or to a ">", and after it on to
// the end of the query or to a "<". Lines without such a place are passed
// over; all that the filter keeps of them is `inTag`, which is decided by
// the last "<" or ">" passed over (set by "<", cleared by ">") and stays as
// it was when there is none.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "core/search/text_match.h"

class FirstPass {
public:
    explicit FirstPass(const SearchQuery& query);

    /// Hands the next piece of a file to `filter` as TagFilter::Feed does,
    /// leaving out the whole lines that cannot hold the query. The filter's
    /// `inTag` (and `tagSeen`) come out as after feeding every byte.
    template <class Take>
    void Feed(TagFilter& filter, std::string_view bytes, Take&& take) const;

    /// `filter`'s state after lines [from, to) went by without being read.
    static void PassOver(TagFilter& filter, const char* from, const char* to);

private:
    bool active_ = false;  ///< false: every byte goes through the filter
    std::string query_;    ///< as matched (folded unless case matters)
    std::size_t anchor_ = 0;
    std::array<unsigned char, 2> anchorBytes_{};  ///< the raw bytes that fold to the anchor
    int neighbourOffset_ = 0;                     ///< -1 or 1: where the neighbour tested with it stands; 0 none
    std::array<unsigned char, 3> neighbourBytes_{};  ///< its raw bytes and the tag byte that may stand there
    std::array<unsigned char, 256> fold_{};

    bool RawBytes(char folded, std::array<unsigned char, 2>& raw) const;
    bool IsAnchor(char byte) const
    {
        const auto raw = static_cast<unsigned char>(byte);
        return raw == anchorBytes_[0] || raw == anchorBytes_[1];
    }

    /// The first anchor byte in [from, to) with a place for the query
    /// around it, or `to`. `from` and `to` are line starts.
    const char* FindCandidate(const char* from, const char* to) const;
    bool QueryFitsAround(const char* lineFloor, const char* at, const char* ceiling) const;
    template <class Take>
    void FeedLines(TagFilter& filter, const char* from, const char* to, Take& take) const;
};

template <class Take>
void FirstPass::Feed(TagFilter& filter, std::string_view bytes, Take&& take) const
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    if (!active_ || bytes.empty()) {
        filter.Feed(bytes, take);
        return;
    }
    // A line begun in an earlier piece is finished by the filter itself.
    if (filter.Carrying()) {
        const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        const char* stop = nl ? static_cast<const char*>(nl) + 1 : end;
        filter.Feed(std::string_view(p, static_cast<std::size_t>(stop - p)), take);
        p = stop;
    }
    // Whole lines up to the last "\n"; the unfinished one after it goes to
    // the filter, which carries it to the next piece.
    const void* lastNl = p < end ? memrchr(p, '\n', static_cast<std::size_t>(end - p)) : nullptr;
    const char* linesEnd = lastNl ? static_cast<const char*>(lastNl) + 1 : p;
    FeedLines(filter, p, linesEnd, take);
    if (linesEnd < end)
        filter.Feed(std::string_view(linesEnd, static_cast<std::size_t>(end - linesEnd)), take);
}

template <class Take>
void FirstPass::FeedLines(TagFilter& filter, const char* from, const char* to, Take& take) const
{
    while (from < to) {
        const char* candidate = FindCandidate(from, to);
        if (candidate == to) {
            PassOver(filter, from, to);
            return;
        }
        const void* before = memrchr(from, '\n', static_cast<std::size_t>(candidate - from));
        const char* lineStart = before ? static_cast<const char*>(before) + 1 : from;
        PassOver(filter, from, lineStart);
        // `to` follows a "\n", so the candidate's line ends before it.
        const char* lineEnd =
            static_cast<const char*>(std::memchr(candidate, '\n', static_cast<std::size_t>(to - candidate))) + 1;
        filter.Feed(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)), take);
        from = lineEnd;
    }
}
