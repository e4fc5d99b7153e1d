// SPDX-License-Identifier: GPL-3.0-or-later
// The text search on several workers with its first pass against the rules
// as written, on generated collections, for every number of workers and size
// of read piece; and the tag filter's state after each file through the
// first pass, and as the file's last "<" or ">" decides.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "core/search/first_pass.h"
#include "core/search/parallel_text_search.h"
#include "support/literal_search.h"
#include "support/temp_dir.h"

namespace {

std::string W(std::string_view utf8)
{
    return platform::text::To1251FromUtf8(utf8);
}

struct CollectionShape {
    const char* name;
    int issues, articles, lines, tokens;  ///< at most, per issue, per article, per line
    int tagPercent;                       ///< of the tokens
    bool onlyClosing;                     ///< the tokens hold ">" but no "<"; files often end in a tag
    int longLinePercent;                  ///< of the articles, one line of 100 000 bytes and more
    int rounds;                           ///< collections of this shape
    std::vector<int> jobs;
    std::vector<std::size_t> pieces;
};

/// The text search as the rules read, file by file, line by line.
class PlainSearch : public TextSearchSink {
public:
    void Progress(int issue) override { progress.push_back(issue); }
    void AddResult(int, int issue) override { rows.push_back(issue); }
    void ArticleUnreadable(const std::string& path) override { unreadable.push_back(path); }
    std::vector<int> progress;
    std::vector<std::int32_t> rows;
    std::vector<std::string> unreadable;
    std::vector<std::pair<std::string, bool>> files;  ///< each readable file, in order, and `inTag` after it

    void Run(Library& library, const SearchQuery& query)
    {
        bool inTag = false;
        for (int i = 0; i < library.issueCount(); ++i) {
            Progress(i);
            IssueRecord& issue = library.issues[static_cast<std::size_t>(i)];
            for (int k = 0; k < ListedEntryCount(issue); ++k) {
                issue.articles[static_cast<std::size_t>(k)].mark = kMarkPlain;
                const std::optional<std::string> path = ArticleFilePath(library, i, issue.articles[k].link);
                const std::optional<std::string> bytes = path ? platform::files::ReadWholeFile(*path) : std::nullopt;
                if (!bytes && path)
                    ArticleUnreadable(*path);
                if (!bytes)
                    continue;
                std::vector<std::string> pieces;
                for (std::size_t at = 0, nl; at <= bytes->size(); at = nl + 1) {
                    nl = std::min(bytes->find('\n', at), bytes->size());
                    std::string line = bytes->substr(at, nl - at);
                    if (nl < bytes->size() && line.ends_with('\r'))
                        line.pop_back();
                    LiteralFilter(line, inTag, pieces);
                }
                for (const std::string& piece : pieces) {
                    if (LiteralMatch(piece, query.searchText(), query.matchCase(), query.wholeWord())) {
                        issue.matched = 1;
                        issue.articles[k].mark = kMarkFound;
                    }
                }
                files.emplace_back(*bytes, inTag);
            }
            if (issue.matched)
                AddResult(0, i);
        }
        Progress(-1);
    }
};

class Collection {
public:
    Collection(const CollectionShape& shape, std::mt19937& random) : shape_(shape), random_(random)
    {
        library.workPattern = platform::paths::FromHost(dir.path()) + "\\*";
        const int issues = 1 + Below(shape.issues);
        for (int i = 0; i < issues; ++i) {
            const std::string folder = "izone" + std::to_string(i);
            library.folderNames.push_back(folder);
            IssueRecord& issue = library.issues.emplace_back();
            const int articles = 1 + Below(shape.articles);
            for (int k = 0; k < articles; ++k) {
                ArticleEntry& entry = issue.articles[static_cast<std::size_t>(k)];
                entry.title = k + 1 < articles ? "     t" : "";
                // Mostly pages; else no link, an address, a folder in a page's place, a vanished page.
                const int kind = Below(12);
                entry.link = kind == 0 ? "" : kind == 1 ? "http://x/a.htm" : "../a" + std::to_string(k) + ".htm";
                if (kind == 2)
                    dir.MakeFolder(folder + "/a" + std::to_string(k) + ".htm");
                else if (kind > 3)
                    dir.Write(folder + "/a" + std::to_string(k) + ".htm", Page());
            }
        }
    }

    TempDir dir;
    Library library;
private:
    const CollectionShape& shape_;
    std::mt19937& random_;

    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string Page()
    {
        // The query's pieces, so that it is found mostly where they meet,
        // often across a tag.
        static const std::vector<std::string> text = {W("Сло"), W("во"), W("сл"), W("ОВО"), W("с"), W("лово"),
                                                      W("Ё"),   W("ж"),  " ",     " ",      "x",     "&nbsp;",
                                                      "(",      "2",     "\r",    "a"};
        static const std::vector<std::string> allTags = {"<b>", "</b>", "<i>", "</i>", "<a href=", "\">", "<", ">"};
        static const std::vector<std::string> closing = {">", "\">"};
        const std::vector<std::string>& tags = shape_.onlyClosing ? closing : allTags;
        std::string page;
        const bool longLine = Below(100) < shape_.longLinePercent;
        for (int l = Below(shape_.lines + 1); l > 0; --l) {
            for (int t = longLine && l == 1 ? 30000 : Below(shape_.tokens + 1); t > 0; --t) {
                const std::vector<std::string>& from = Below(100) < shape_.tagPercent ? tags : text;
                page += from[static_cast<std::size_t>(Below(static_cast<int>(from.size())))];
            }
            page += Below(3) ? "\r\n" : "\n";
        }
        // The last line without its end; without other "<" often a tag
        // left open for the next file.
        if (Below(4) == 0 || (shape_.onlyClosing && Below(2)))
            page += Below(2) ? "<a href=" : W("слово");
        return page;
    }
};

/// Every issue's `matched` and marks, first set as no search leaves them when `reset`.
std::vector<std::int32_t> MarksAndMatches(Library& library, bool reset)
{
    std::vector<std::int32_t> all;
    for (IssueRecord& issue : library.issues) {
        all.push_back(issue.matched = reset ? 0 : issue.matched);
        for (ArticleEntry& entry : issue.articles)
            all.push_back(entry.mark = reset ? kMarkSelected : entry.mark);
    }
    return all;
}

TEST(SearchParallel, AgreesWithThePlainSearchOnGeneratedCollections)
{
    constexpr std::size_t kDefault = kTextSearchReadPiece;
    const CollectionShape shapes[] = {
        {"html pages", 8, 10, 12, 14, 25, false, 0, 10, {1, 2, 3, 8}, {1, 2, 3, 7, 64, kDefault}},
        {"few tags: lines judged by the state before", 8, 10, 6, 10, 5, false, 0, 10, {1, 2, 5}, {1, 3, 16, kDefault}},
        {"\">\" without \"<\" ends a tag", 8, 30, 3, 10, 10, true, 0, 40, {2}, {1, kDefault}},
        {"tags everywhere", 6, 8, 8, 20, 50, false, 0, 10, {2, 3}, {1, 5, kDefault}},
        {"one issue of one article", 1, 1, 12, 14, 25, false, 0, 10, {1, 2, 4}, {1, 2, kDefault}},
        {"lines far longer than a piece", 3, 4, 3, 10, 25, false, 50, 10, {1, 2, 3}, {4096, kDefault}},
    };
    const std::vector<SearchQuery> queries = {
        {W("слово"), false, false}, {W("слово"), false, true}, {W("Слово"), true, false},
        {W("ёж"), false, true},     {W("о с"), false, false},  {"x>", false, false},
    };
    std::mt19937 random(25);
    for (const CollectionShape& shape : shapes) {
        for (int round = 0; round < shape.rounds; ++round) {
            Collection collection(shape, random);
            Library& library = collection.library;
            for (const SearchQuery& query : queries) {
                const std::string what = std::string(shape.name) + " / " + query.searchText();
                MarksAndMatches(library, true);
                PlainSearch plain;
                plain.Run(library, query);
                const std::vector<std::int32_t> expected = MarksAndMatches(library, false);

                // The state after every file, as its last "<" or ">" decides
                // and through the first pass in pieces of every size.
                const FirstPass pass(query);
                bool before = false;
                for (const auto& [bytes, after] : plain.files) {
                    const std::size_t last = bytes.find_last_of("<>");
                    ASSERT_EQ(last == std::string::npos ? before : bytes[last] == '<', after) << what << " " << bytes;
                    for (const std::size_t piece : shape.pieces) {
                        TagFilter filter;
                        filter.inTag = before;
                        const auto ignore = [](std::string_view) {};
                        for (std::size_t at = 0; at < bytes.size(); at += piece)
                            pass.Feed(filter, std::string_view(bytes).substr(at, piece), ignore);
                        filter.Finish(ignore);
                        ASSERT_EQ(filter.inTag, after) << what << " piece " << piece << " " << bytes;
                    }
                    before = after;
                }

                for (const int jobs : shape.jobs) {
                    for (const std::size_t piece : shape.pieces) {
                        MarksAndMatches(library, true);
                        PlainSearch parallel;
                        RunTextSearchInParallel(library, query, parallel, jobs, piece);
                        SCOPED_TRACE(what + " jobs " + std::to_string(jobs) + " piece " + std::to_string(piece));
                        ASSERT_EQ(parallel.rows, plain.rows);
                        ASSERT_EQ(parallel.progress, plain.progress);
                        ASSERT_EQ(parallel.unreadable, plain.unreadable);
                        ASSERT_EQ(MarksAndMatches(library, false), expected);
                    }
                }
            }
        }
    }
}

}  // namespace
