// SPDX-License-Identifier: GPL-3.0-or-later
// The search engine: the title search over the library in memory and the
// text search over the article files, by the matching rules of
// core/search/text_match.h.
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
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/library.h"
#include "core/search/text_match.h"

/// Clears `matched` of every issue before a search.
void ClearMatched(Library& library);

/// The title search: marks the articles of every issue whose title matches
/// and returns the matching issues in order (the result table; one row per
/// entry).
std::vector<std::int32_t> SearchTitles(Library& library, const SearchQuery& query);

/// The file the text search reads for an article of issue `issue`: the one
/// opening the article opens, without a "#fragment" or "?query" part.
/// Nothing for an empty link or a link naming "http:" or "file:"; every
/// other link names a file, even one with "http" in a folder name.
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
    /// Read often, also between two pieces of a file: true when the results
    /// are thrown away; the search ends at once and adds no more results.
    virtual bool Abandoned() { return false; }
    /// Issue `issue` matched; it is result `row` (rows count from 0).
    virtual void AddResult(int row, int issue) = 0;
    /// An article file could not be read (wholly or from some point on); the
    /// search went on without it.
    virtual void ArticleUnreadable(const std::string& path) { (void)path; }
};

/// How much of an article file the text search holds at a time; the search
/// can be abandoned between two pieces.
constexpr std::size_t kTextSearchReadPiece = 64 * 1024;

/// The text search: reads the article files of every issue in order,
/// marking what matched, until the end, a cancel between two issues, or an
/// abandonment anywhere.
void RunTextSearch(Library& library, const SearchQuery& query, TextSearchSink& sink,
                   std::size_t readPiece = kTextSearchReadPiece);

class FirstPass;

/// How many entries of an issue a search visits: up to and including the
/// first with an empty title, at most every slot.
int ListedEntryCount(const IssueRecord& issue);

/// One article of the text search: sets its mark to 0, then reads its file
/// (when it has one) in pieces of `buffer`'s size through `pass` and
/// `filter`, marking the article and its issue when it matches. True when
/// it matched.
bool SearchArticle(Library& library, int issue, int article, const SearchQuery& query, const FirstPass& pass,
                   TagFilter& filter, std::span<char> buffer, TextSearchSink& sink);

/// The positions of an issue's entry range (up to and including the first
/// entry with an empty title) whose mark is 1.
std::vector<int> FoundPositions(const IssueRecord& issue);
