// SPDX-License-Identifier: GPL-3.0-or-later
// The search engine: the match and the tag filter on their edge cases, the
// tag filter against a literal transcription of its rules on random lines,
// and both searches over collections written by the test.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/text1251.h"
#include "core/search/search_engine.h"
#include "support/literal_search.h"
#include "support/temp_dir.h"

namespace {

/// Test texts are written in UTF-8; the engine speaks 1251.
std::string W(std::string_view utf8)
{
    return platform::text::To1251FromUtf8(utf8);
}

struct MatchCase {
    const char* text;
    const char* query;
    bool matchCase, wholeWord, matches;
};

TEST(SearchMatch, EdgeCases)
{
    const MatchCase cases[] = {
        // A query is one byte sequence, spaces included.
        {"x а б y", "а б", false, false, true},
        {"x а  б y", "а б", false, false, false},
        // Whole words: bytes from 0x30 up belong to a word.
        {"&nbsp;слово", "слово", false, true, false},
        {"(слово)", "слово", false, true, true},
        {"«слово»", "слово", false, true, false},
        {"слово2", "слово", false, true, false},
        {"слово", "слово", false, true, true},
        {"словосочетание, слово", "слово", false, true, false},  // only the first occurrence counts
        {"словосочетание, слово", "слово", false, false, true},
        // Case is folded by the code page's whole table.
        {"СЛОВО", "слово", false, false, true},
        {"Слово", "слово", false, false, true},
        {"Ёж", "ёж", false, false, true},
        {"ЇЖАК Ґ", "їжак ґ", false, false, true},
        {"Ёж", "ЁЖ", false, false, true},  // the query is folded too
        {"СЛОВО", "слово", true, false, false},
        {"Слово", "слово", true, false, false},
        {"слово", "слово", true, false, true},
        {"", "слово", false, false, false},
        {"ab", "abc", false, false, false},
    };
    for (const MatchCase& c : cases) {
        IssueRecord issue;
        issue.articles[3].mark = kMarkSelected;
        const SearchQuery query(W(c.query), c.matchCase, c.wholeWord);
        const bool matched = MatchText(W(c.text), query, issue, 3);
        EXPECT_EQ(matched, c.matches) << c.text << " / " << c.query << " case " << c.matchCase << " word "
                                      << c.wholeWord;
        // No match changes no mark.
        EXPECT_EQ(issue.articles[3].mark, c.matches ? kMarkFound : kMarkSelected) << c.text;
        EXPECT_EQ(issue.matched, c.matches ? 1 : 0) << c.text;
    }
}

// The wide steps and Horspool's against a plain search of the lower-cased
// text, on texts long enough for both, at every offset.
TEST(SearchMatch, FindsTheFirstOccurrenceOnRandomTexts)
{
    std::mt19937 random(1251);
    const char alphabet[] = {'a', 'A', 'b', '\xE0', '\xC0', '\xB8', '\xA8', ' ', '\xFF', '\xDF'};
    const auto pick = [&](std::size_t length) {
        std::string text(length, ' ');
        for (char& c : text)
            c = alphabet[random() % sizeof alphabet];
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = pick(random() % 120);
        const std::string query = pick(1 + random() % 4);
        const bool matchCase = random() % 2;
        const std::size_t expected = matchCase ? text.find(query)
                                               : platform::text::Lower1251(text).find(platform::text::Lower1251(query));
        ASSERT_EQ(SearchQuery(query, matchCase, false).Find(text), expected)
            << "[" << text << "] [" << query << "] " << matchCase;
    }
}

struct FilterCase {
    std::vector<const char*> lines;
    std::vector<const char*> pieces;
};

TEST(SearchTagFilter, EdgeCases)
{
    const FilterCase cases[] = {
        // A line that ends inside a tag hands nothing over; the tag ends on
        // the next line, whose rest after ">" is handed over.
        {{"текст <a href=", "x.htm\">Заголовок"}, {"Заголовок"}},
        // Tags are deleted and the text joined, once per line.
        {{"<p>Первый <b>второй</b> третий</p>"}, {"Первый второй третий"}},
        {{"<b>слово</b>дальше"}, {"словодальше"}},
        // A line without tags counts only outside a tag.
        {{"<a", "просто текст", "class=x>", "просто текст"}, {"просто текст"}},
        {{"просто текст"}, {"просто текст"}},
        // A ">" left outside the tags spoils the line...
        {{"x>y<b>z"}, {}},
        {{"<a<b>c>"}, {}},
        // ...but without any "<" the rest after the first ">" counts.
        {{"a > b > c"}, {" b > c"}},
        {{"a >"}, {}},
        // A line with "<" starts outside a tag, whatever the line before left.
        {{"<a", "x <b>y"}, {"x y"}},
        {{"", "<br>", "<a", "</a>"}, {}},
    };
    for (const FilterCase& c : cases) {
        TagFilter filter;
        std::vector<std::string> pieces;
        for (const char* line : c.lines)
            filter.Lines(W(line), [&](std::string_view piece) { pieces.emplace_back(piece); });
        std::vector<std::string> expected;
        for (const char* piece : c.pieces)
            expected.push_back(W(piece));
        EXPECT_EQ(pieces, expected) << c.lines.front();
    }
}

// Whole files of random lines, long enough for the filter's wide steps, read
// in pieces, and two files in a row so the state crosses from one to the next.
TEST(SearchTagFilter, AgreesWithTheRulesAsWrittenOnRandomFiles)
{
    std::mt19937 random(1251);
    const char alphabet[] = {'<', '>', 'a', ' ', '\xE0', '/', '"', '\r', 'b', 'c'};
    for (int round = 0; round < 3000; ++round) {
        TagFilter filter;
        bool inTag = false;
        std::vector<std::string> fast, literal;
        for (int file = 0; file < 2; ++file) {
            std::string bytes;
            const int lines = static_cast<int>(random() % 8);
            for (int l = 0; l < lines; ++l) {
                // Mostly short lines, now and then one longer than a wide step.
                std::string line(random() % 4 == 0 ? random() % 200 : random() % 14, ' ');
                for (char& c : line)
                    c = alphabet[random() % sizeof alphabet];
                const bool last = l + 1 == lines;
                const bool ended = !last || random() % 2;
                const bool crlf = random() % 2;
                bytes += line;
                if (ended)
                    bytes += crlf ? "\r\n" : "\n";
                // A "\r" right before the "\n" is the terminator's.
                if (ended && !crlf && !line.empty() && line.back() == '\r')
                    line.pop_back();
                LiteralFilter(line, inTag, literal);
            }
            const auto take = [&](std::string_view piece) { fast.emplace_back(piece); };
            for (std::size_t at = 0, cut; at < bytes.size(); at = cut) {
                cut = std::min(bytes.size(), at + (random() % 3 ? 1 + random() % 100 : bytes.size()));
                filter.Feed(std::string_view(bytes).substr(at, cut - at), take);
            }
            filter.Finish(take);
            ASSERT_EQ(filter.inTag, inTag) << "file [" << bytes << "]";
        }
        ASSERT_EQ(fast, literal);
    }
}

// ----------------------------------------------------------------------------
// searches over a collection
// ----------------------------------------------------------------------------

struct Article {
    const char* title;  ///< UTF-8, without the five blanks
    const char* link;
};

class SearchCollection : public ::testing::Test {
protected:
    TempDir dir;
    Library library;

    SearchCollection() { library.workPattern = platform::paths::FromHost(dir.path()) + "\\*"; }

    /// An issue with these entries; a null title ends the list with an
    /// empty-titled entry carrying `link`.
    IssueRecord& AddIssue(const std::string& folder, const std::vector<Article>& articles)
    {
        library.folderNames.push_back(folder);
        IssueRecord& issue = library.issues.emplace_back();
        issue.caption = "Issue " + folder;
        for (std::size_t k = 0; k < articles.size(); ++k) {
            issue.articles[k].title = articles[k].title ? "     " + W(articles[k].title) : "";
            issue.articles[k].link = articles[k].link;
        }
        return issue;
    }
    void WriteFile(const std::string& relative, std::string_view utf8) { dir.Write(relative, W(utf8)); }
    std::vector<std::int32_t> Marks(int issue, int count) const
    {
        std::vector<std::int32_t> marks;
        for (int k = 0; k < count; ++k)
            marks.push_back(library.issues[static_cast<std::size_t>(issue)].articles[static_cast<std::size_t>(k)].mark);
        return marks;
    }
};

class RecordingSink : public TextSearchSink {
public:
    void Progress(int issue) override { progress.push_back(issue); }
    void AddResult(int row, int issue) override
    {
        EXPECT_EQ(row, static_cast<int>(rows.size()));
        rows.push_back(issue);
    }
    std::vector<int> progress;
    std::vector<std::int32_t> rows;
};

TEST_F(SearchCollection, TitleSearchMarksEveryVisitedEntry)
{
    IssueRecord& first = AddIssue("izone1", {{"Раздел", ""}, {"Первое Слово", "a.htm"}, {"Другое", "b.htm"},
                                              {nullptr, "c.htm"}, {"после конца", "d.htm"}});
    first.articles[2].mark = kMarkSelected;  // clicked before; it does not match
    first.articles[4].mark = kMarkSelected;  // after the end: never visited
    AddIssue("izone2", {{"Ничего", "a.htm"}});
    AddIssue("izone3", {});  // no entries at all

    const SearchQuery word(W("слово"), false, false);
    EXPECT_EQ(SearchTitles(library, word), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(Marks(0, 5), (std::vector<std::int32_t>{0, 1, 0, 0, kMarkSelected}));
    EXPECT_EQ(FoundPositions(library.issues[0]), (std::vector<int>{1}));
    EXPECT_EQ(library.issues[1].matched, 0);

    // Every title begins with five blanks: a blank finds every issue with
    // an entry, whole word or not; a heading matches like any title.
    ClearMatched(library);
    EXPECT_EQ(SearchTitles(library, SearchQuery(" ", false, true)), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(SearchTitles(library, SearchQuery(W("раздел"), false, true)), (std::vector<std::int32_t>{0}));
}

// Links here begin with "../": a plain name would depend on the letters of
// the temporary folder's name (a folder path holding "mi" keeps its pages in
// "boss").
TEST_F(SearchCollection, TextSearchReadsWhatOpeningWouldOpen)
{
    // Issue 0: a file ending inside a tag keeps the next file's first line
    // out; a fragment is dropped from the file name; addresses are never
    // read; a heading has no file.
    AddIssue("izone1", {{"Заголовок слово", ""},
                        {"Конец в теге", "../text/a1.htm"},
                        {"Строка в теге", "../text/a2.htm"},
                        {"С фрагментом", "../a3.htm#top"},
                        {"Адрес", "http://example.org/слово.htm"},
                        {"Отмеченная", "../text/a4.htm"},
                        {"Папка с http в имени", "../myhttpdocs/l6.htm"}});
    library.issues[0].articles[5].mark = kMarkSelected;
    WriteFile("izone1/text/a1.htm", "<p>слово</p>\r\n<a href=");
    WriteFile("izone1/text/a2.htm", "слово\r\n<p>ничего</p>\r\n");
    WriteFile("izone1/a3.htm", "<html>\n<b>Сло</b>во\n");
    WriteFile("izone1/text/a4.htm", "<p>другое</p>");
    WriteFile("izone1/myhttpdocs/l6.htm", "<p>слово</p>");
    // Issue 1: nothing matches.
    AddIssue("izone2", {{"Статья", "../a1.htm"}});
    WriteFile("izone2/a1.htm", "<p>ничего</p>");
    // Issue 2: only the page of the entry that ends the list matches.
    AddIssue("izone3", {{"Статья", "../a1.htm"}, {nullptr, "../index.htm"}});
    WriteFile("izone3/a1.htm", "<p>ничего</p>");
    WriteFile("izone3/index.htm", "<title>Слово</title>");

    RecordingSink sink;
    RunTextSearch(library, SearchQuery(W("слово"), false, true), sink);
    EXPECT_EQ(sink.progress, (std::vector<int>{0, 1, 2, -1}));
    EXPECT_EQ(sink.rows, (std::vector<std::int32_t>{0, 2}));
    EXPECT_EQ(Marks(0, 8), (std::vector<std::int32_t>{0, 1, 0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(Marks(1, 2), (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(Marks(2, 2), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(FoundPositions(library.issues[2]), (std::vector<int>{1}));
    EXPECT_EQ(library.issues[1].matched, 0);
    EXPECT_EQ(library.issues[2].matched, 1);
}

TEST_F(SearchCollection, ArticleFilePathFollowsTheOpeningRules)
{
    AddIssue("izone57", {});
    const std::string folder = library.workPattern.substr(0, library.workPattern.size() - 1) + "izone57";
    EXPECT_EQ(ArticleFilePath(library, 0, "../art/a1.htm"), folder + "\\art\\a1.htm");
    EXPECT_EQ(ArticleFilePath(library, 0, "../a1.htm#top"), folder + "\\a1.htm");
    EXPECT_EQ(ArticleFilePath(library, 0, "../a1.htm?x=1#y"), folder + "\\a1.htm");
    EXPECT_EQ(ArticleFilePath(library, 0, ""), std::nullopt);
    EXPECT_EQ(ArticleFilePath(library, 0, "../file:x.htm"), std::nullopt);
    EXPECT_EQ(ArticleFilePath(library, 0, "http://a/b.htm"), std::nullopt);
    // Only "http:" and "file:" name no file: a folder with "http" in its name is read.
    EXPECT_EQ(ArticleFilePath(library, 0, "../myhttpdocs/l6.htm"), folder + "\\myhttpdocs\\l6.htm");
}

}  // namespace
