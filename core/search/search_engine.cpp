// SPDX-License-Identifier: GPL-3.0-or-later
// The search engine: the query matcher, the title search and the text search
// loop over the article files.
//
// The matcher is a Horspool search that folds the case of each text byte it
// compares, so no text is ever lower-cased as a whole; it finds the first
// occurrence, as the whole-word rule needs.
#include "core/search/search_engine.h"

#include <atomic>
#include <bit>
#include <new>
#include <span>

#include "core/library/article_target.h"
#include "platform/files.h"
#include "platform/text1251.h"
#include "core/search/first_pass.h"

namespace {

/// Bytes below this are word boundaries for the whole-word rule; every byte
/// from it up belongs to a word.
constexpr unsigned char kFirstWordByte = 0x30;

void SetMark(ArticleEntry& entry, std::int32_t mark)
{
    std::atomic_ref<std::int32_t>(entry.mark).store(mark, std::memory_order_relaxed);
}

void SetMatched(IssueRecord& issue)
{
    std::atomic_ref<std::uint8_t>(issue.matched).store(1, std::memory_order_relaxed);
}

/// The entries a search visits.
template <class Visit>
void ForEachListedEntry(IssueRecord& issue, Visit&& visit)
{
    const int count = ListedEntryCount(issue);
    for (int k = 0; k < count; ++k)
        visit(k, issue.articles[static_cast<std::size_t>(k)]);
}

}  // namespace

// ----------------------------------------------------------------------------
// matching
// ----------------------------------------------------------------------------

SearchQuery::SearchQuery(std::string_view query, bool matchCase, bool wholeWord)
    : searchText_(matchCase ? std::string(query) : platform::text::Lower1251(query)),
      matchCase_(matchCase),
      wholeWord_(wholeWord)
{
    for (int b = 0; b < 256; ++b)
        fold_[static_cast<std::size_t>(b)] =
            matchCase ? static_cast<unsigned char>(b) : platform::text::ToLower1251(static_cast<unsigned char>(b));
    // Horspool's shift, by the folded byte under the window's last position;
    // kept by raw byte so the loop folds nothing to move on.
    const std::size_t m = searchText_.size();
    std::array<std::uint32_t, 256> byFolded;
    byFolded.fill(static_cast<std::uint32_t>(m));
    for (std::size_t j = 0; j + 1 < m; ++j)
        byFolded[static_cast<unsigned char>(searchText_[j])] = static_cast<std::uint32_t>(m - 1 - j);
    for (std::size_t b = 0; b < 256; ++b)
        shift_[b] = byFolded[fold_[b]];

    if (m == 0)
        return;
    const auto rawBytes = [&](unsigned char folded, std::array<unsigned char, 2>& bytes) {
        int count = 0;
        for (int b = 0; b < 256; ++b) {
            if (fold_[static_cast<std::size_t>(b)] != folded)
                continue;
            if (count == 2)
                return false;
            bytes[static_cast<std::size_t>(count++)] = static_cast<unsigned char>(b);
        }
        if (count == 1)
            bytes[1] = bytes[0];
        return count > 0;
    };
    wideSteps_ = rawBytes(static_cast<unsigned char>(searchText_.front()), firstBytes_) &&
                 rawBytes(static_cast<unsigned char>(searchText_.back()), lastBytes_);
}

std::size_t SearchQuery::Find(std::string_view text) const
{
    const std::size_t m = searchText_.size();
    if (m == 0)
        return 0;
    if (text.size() < m)
        return std::string_view::npos;
    std::size_t at = 0;
#if defined(__SSE2__)
    // Sixteen windows at a time: those whose first and last bytes fold to
    // the search text's are compared in full, in order, so the first
    // occurrence is found first.
    if (wideSteps_) {
        const auto* t = reinterpret_cast<const unsigned char*>(text.data());
        const auto* p = reinterpret_cast<const unsigned char*>(searchText_.data());
        const auto splat = [](unsigned char b) { return _mm_set1_epi8(static_cast<char>(b)); };
        const __m128i first0 = splat(firstBytes_[0]), first1 = splat(firstBytes_[1]);
        const __m128i last0 = splat(lastBytes_[0]), last1 = splat(lastBytes_[1]);
        for (; at + m - 1 + 16 <= text.size(); at += 16) {
            const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at));
            const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at + m - 1));
            const __m128i both =
                _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(heads, first0), _mm_cmpeq_epi8(heads, first1)),
                              _mm_or_si128(_mm_cmpeq_epi8(tails, last0), _mm_cmpeq_epi8(tails, last1)));
            for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(both)); mask; mask &= mask - 1) {
                const std::size_t window = at + static_cast<std::size_t>(std::countr_zero(mask));
                std::size_t j = 1;
                while (j + 1 < m && fold_[t[window + j]] == p[j])
                    ++j;
                if (j + 1 >= m)
                    return window;
            }
        }
    }
#endif
    return FindFrom(text, at);
}

/// Horspool's search from window `at` on.
std::size_t SearchQuery::FindFrom(std::string_view text, std::size_t at) const
{
    const std::size_t m = searchText_.size();
    if (text.size() < m)
        return std::string_view::npos;
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto* p = reinterpret_cast<const unsigned char*>(searchText_.data());
    const unsigned char last = p[m - 1];
    const std::size_t stop = text.size() - m;
    while (at <= stop) {
        const unsigned char under = t[at + m - 1];
        if (fold_[under] == last) {
            std::size_t j = 0;
            while (j + 1 < m && fold_[t[at + j]] == p[j])
                ++j;
            if (j + 1 == m)
                return at;
        }
        at += shift_[under];
    }
    return std::string_view::npos;
}

bool SearchQuery::Matches(std::string_view text) const
{
    const std::size_t at = Find(text);
    if (at == std::string_view::npos)
        return false;
    if (!wholeWord_)
        return true;
    const std::size_t after = at + searchText_.size();
    if (at > 0 && static_cast<unsigned char>(text[at - 1]) >= kFirstWordByte)
        return false;
    return !(after < text.size() && static_cast<unsigned char>(text[after]) >= kFirstWordByte);
}

bool MatchText(std::string_view text, const SearchQuery& query, IssueRecord& issue, int article)
{
    if (!query.Matches(text))
        return false;
    SetMatched(issue);
    SetMark(issue.articles[static_cast<std::size_t>(article)], kMarkFound);
    return true;
}

// ----------------------------------------------------------------------------
// the two searches
// ----------------------------------------------------------------------------

void ClearMatched(Library& library)
{
    for (IssueRecord& issue : library.issues)
        std::atomic_ref<std::uint8_t>(issue.matched).store(0, std::memory_order_relaxed);
}

std::vector<std::int32_t> SearchTitles(Library& library, const SearchQuery& query)
{
    std::vector<std::int32_t> results;
    for (int i = 0; i < library.issueCount(); ++i) {
        IssueRecord& issue = library.issues[static_cast<std::size_t>(i)];
        bool anyMatch = false;
        ForEachListedEntry(issue, [&](int k, ArticleEntry& entry) {
            if (MatchText(entry.title, query, issue, k))
                anyMatch = true;
            else
                SetMark(entry, kMarkPlain);
        });
        if (anyMatch)
            results.push_back(i);
    }
    return results;
}

std::optional<std::string> ArticleFilePath(const Library& library, int issue, std::string_view link)
{
    // Only these two name no file; a folder such as "myhttpdocs" is read.
    if (link.empty() || link.find("http:") != std::string_view::npos || link.find("file:") != std::string_view::npos)
        return std::nullopt;
    if (issue < 0 || issue >= library.issueCount())
        return std::nullopt;
    const std::string folder = FolderPath(library.workPattern, library.folderNames[static_cast<std::size_t>(issue)]);
    std::string path = IssueFilePath(folder, link);
    // What follows the folder comes from the link, where a fragment or query
    // part names no file.
    const std::size_t cut = path.find_first_of("#?", folder.size());
    if (cut != std::string::npos)
        path.resize(cut);
    return path;
}

int ListedEntryCount(const IssueRecord& issue)
{
    for (int k = 0; k < kEntriesPerIssue; ++k)
        if (issue.articles[static_cast<std::size_t>(k)].title.empty())
            return k + 1;
    return kEntriesPerIssue;
}

namespace {

/// Reads one article file through the first pass and the filter, piece by
/// piece. True when some piece matched.
bool SearchArticleFile(const std::string& path, const FirstPass& pass, TagFilter& filter, std::span<char> buffer,
                       const SearchQuery& query, IssueRecord& issue, int article, TextSearchSink& sink)
{
    bool matched = false;
    // Once the article is found, later pieces could only mark it again.
    const auto take = [&](std::string_view piece) { matched = matched || MatchText(piece, query, issue, article); };
    bool abandoned = false;
    const bool whole = platform::files::ReadInPieces(path, buffer, [&](std::string_view bytes) {
        pass.Feed(filter, bytes, take);
        abandoned = sink.Abandoned();
        return !abandoned;
    });
    if (!whole && !abandoned)
        sink.ArticleUnreadable(path);
    // A file that fails halfway counts with what was read of it.
    if (!abandoned)
        filter.Finish(take);
    return matched;
}

}  // namespace

bool SearchArticle(Library& library, int issue, int article, const SearchQuery& query, const FirstPass& pass,
                   TagFilter& filter, std::span<char> buffer, TextSearchSink& sink)
{
    IssueRecord& record = library.issues[static_cast<std::size_t>(issue)];
    ArticleEntry& entry = record.articles[static_cast<std::size_t>(article)];
    SetMark(entry, kMarkPlain);
    const std::optional<std::string> path = ArticleFilePath(library, issue, entry.link);
    if (!path)
        return false;
    // An allocation failure costs this one article, not the search.
    try {
        return SearchArticleFile(*path, pass, filter, buffer, query, record, article, sink);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void RunTextSearch(Library& library, const SearchQuery& query, TextSearchSink& sink, std::size_t readPiece)
{
    TagFilter filter;
    const FirstPass pass(query);
    std::vector<char> buffer(readPiece);
    int rows = 0;
    // The count is read again before each issue, as the library is the
    // contents page's; nothing rebuilds it while a search runs.
    for (int i = 0; i < library.issueCount(); ++i) {
        if (sink.CancelRequested() || sink.Abandoned())
            break;
        sink.PauseBeforeIssue();
        if (sink.Abandoned())
            break;
        sink.Progress(i);
        bool anyMatch = false;
        ForEachListedEntry(library.issues[static_cast<std::size_t>(i)], [&](int k, ArticleEntry&) {
            if (!sink.Abandoned() && SearchArticle(library, i, k, query, pass, filter, buffer, sink))
                anyMatch = true;
        });
        if (sink.Abandoned())
            break;
        if (anyMatch)
            sink.AddResult(rows++, i);
    }
    sink.Progress(-1);
}

std::vector<int> FoundPositions(const IssueRecord& issue)
{
    std::vector<int> positions;
    for (int k = 0; k < kEntriesPerIssue; ++k) {
        const ArticleEntry& entry = issue.articles[static_cast<std::size_t>(k)];
        if (std::atomic_ref<std::int32_t>(const_cast<std::int32_t&>(entry.mark)).load(std::memory_order_relaxed) ==
            kMarkFound)
            positions.push_back(k);
        if (entry.title.empty())
            break;
    }
    return positions;
}
