// SPDX-License-Identifier: GPL-3.0-or-later
// The "Поиск" tab through simulated keys and clicks: the query history, what
// a tab change keeps, choosing a result, the window's searches against
// vestrels-cli on the demo collection, and a text search that is cancelled,
// or whose page, library or program goes while it runs.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "gui/frame/ids.h"
#include "gui/frame/main_frame.h"
#include "core/view/font_request.h"
#include "gui/view/quillbox_view.h"
#include "gui/gui_support.h"
#include "gui/leftpane/left_view.h"
#include "gui/search/search_ids.h"
#include "gui/search/search_page.h"

namespace {

class SearchPageTest : public testing::Test {
protected:
    void Open(const std::string& folder)
    {
        env.StoreWorkingDirectory(folder);
        ASSERT_TRUE(env.OpenMainWindow());
        env.frame->SetClientSize(900, 640);
        Pump(100);
        ChooseTab(env.frame, 1);
        Pump(100);
    }

    /// `count` issues; every article of issue i holds "needle" in its title
    /// and its page when i is in `withNeedle`.
    void WriteCollection(int count, int articles = 3)
    {
        for (int i = 1; i <= count; ++i) {
            std::string page = "<html><body><ul>\r\n";
            for (int k = 1; k <= articles; ++k) {
                const std::string name = "a" + std::to_string(k) + ".htm";
                page += "<li><a href=\"../" + name + "\">Article needle " + std::to_string(k) + "</a></li>\r\n";
                env.work.Write("izone" + std::to_string(i) + "/" + name, "<p>the needle</p>\r\n");
            }
            env.work.Write("izone" + std::to_string(i) + "/frame/left.htm", page + "</ul></body></html>\r\n");
            env.work.Write("izone" + std::to_string(i) + "/index.htm", "<html></html>");
        }
    }

    CSearchPage& Page() const { return env.frame->leftPane()->searchPage; }
    wxWindow* Control(int id) const { return Page().window()->FindWindow(id); }
    wxComboBox* Query() const { return dynamic_cast<wxComboBox*>(Control(ID_SEARCH_QUERY)); }
    wxListBox* Results() const { return dynamic_cast<wxListBox*>(Control(ID_SEARCH_RESULTS)); }
    bool Checked(int id) const { return dynamic_cast<wxCheckBox*>(Control(id))->GetValue(); }
    Library& TheLibrary() const { return env.frame->session().library(); }

    void ClickAt(wxWindow* window, wxPoint point)
    {
        sim.MouseMove(window->ClientToScreen(point));
        Pump(30);
        sim.MouseClick();
        Pump(100);
    }
    void Click(wxWindow* window) { ClickAt(window, wxPoint(window->GetSize().x / 2, window->GetSize().y / 2)); }
    void ClickRow(int row)
    {
        wxListBox* list = Results();
        for (int y = 1; y < list->GetClientSize().y; ++y)
            if (list->HitTest(20, y) == row)
                return ClickAt(list, wxPoint(20, y + 4));
        FAIL() << "row " << row << " is not on screen";
    }

    /// Types the query into the field and presses Enter.
    void TypeAndEnter(const std::string& ascii)
    {
        Query()->SetFocus();
        Query()->SetValue("");
        Pump(30);
        sim.Text(ascii.c_str());
        sim.Char(WXK_RETURN);
        Pump(100);
    }

    /// Sets the options through their controls, the query directly (the
    /// simulator types no Cyrillic), and clicks "Искать".
    void Search(const wxString& query, bool inText, bool wholeWord = false, bool matchCase = false)
    {
        dynamic_cast<wxCheckBox*>(Control(ID_WHOLE_WORD))->SetValue(wholeWord);
        dynamic_cast<wxCheckBox*>(Control(ID_MATCH_CASE))->SetValue(matchCase);
        Click(Control(inText ? ID_IN_TEXT : ID_IN_TITLES));
        Query()->SetValue(query);
        Click(Control(ID_SEARCH_BUTTON));
    }

    bool WaitForTheSearch(int ms = 10000)
    {
        return PumpUntil([this] { return !Page().SearchRunning() && !Page().progressDlg.window(); }, ms);
    }

    std::vector<wxString> HistoryList() const
    {
        const wxArrayString strings = Query()->GetStrings();
        return {strings.begin(), strings.end()};
    }

    GuiEnvironment env;
    wxUIActionSimulator sim;
};

TEST_F(SearchPageTest, HistoryKeepsTheFiveLatestQueriesMostRecentFirst)
{
    WriteCollection(1);
    Open(env.work.path());
    for (const char* query : {"one", "two", "three", "four", "five", "six"})
        TypeAndEnter(query);
    EXPECT_EQ(HistoryList(), (std::vector<wxString>{"six", "five", "four", "three", "two"}));
    // A query already listed stays where it is.
    TypeAndEnter("four");
    EXPECT_EQ(HistoryList(), (std::vector<wxString>{"six", "five", "four", "three", "two"}));
    EXPECT_EQ(Query()->GetValue(), "four");

    // The comparison is case-sensitive whatever the option says.
    Search(wxString::FromUTF8("слово"), false);
    Search(wxString::FromUTF8("Слово"), false);
    EXPECT_EQ(HistoryList(),
              (std::vector<wxString>{wxString::FromUTF8("Слово"), wxString::FromUTF8("слово"), "six", "five", "four"}));
    EXPECT_EQ(Page().history[0], "\xD1\xEB\xEE\xE2\xEE");
}

TEST_F(SearchPageTest, TabChangeKeepsTheLastSearchedQueryAndOptions)
{
    WriteCollection(2);
    Open(env.work.path());
    Search("needle", true, true, false);
    ASSERT_TRUE(WaitForTheSearch());
    EXPECT_EQ(Results()->GetCount(), 2u);
    // Changed without searching: forgotten.
    dynamic_cast<wxCheckBox*>(Control(ID_WHOLE_WORD))->SetValue(false);
    dynamic_cast<wxCheckBox*>(Control(ID_MATCH_CASE))->SetValue(true);
    Query()->SetValue("unsearched");

    ChooseTab(env.frame, 0);
    ChooseTab(env.frame, 1);
    EXPECT_EQ(Query()->GetValue(), "needle");
    EXPECT_TRUE(Checked(ID_WHOLE_WORD));
    EXPECT_FALSE(Checked(ID_MATCH_CASE));
    EXPECT_EQ(Results()->GetCount(), 0u);
    EXPECT_TRUE(dynamic_cast<wxRadioButton*>(Control(ID_IN_TITLES))->GetValue());
    EXPECT_TRUE(Page().inTitles);
    EXPECT_FALSE(Page().resultSelected);
    EXPECT_EQ(HistoryList(), std::vector<wxString>{"needle"});
}

TEST_F(SearchPageTest, ChoosingARowShowsTheIssueWithItsFoundEntries)
{
    WriteIssue(env.work, "izone57", ".\\frame\\left.htm", 3);
    WriteIssue(env.work, "izone58", ".\\frame\\left.htm", 12);
    Open(env.work.path());
    // Whole words: "Article 10" to "Article 12" do not count.
    Search("Article 1", false, true);
    ASSERT_EQ(Results()->GetCount(), 2u);
    env.frame->UpdateWindowUI();
    EXPECT_FALSE(env.frame->GetToolBar()->GetToolEnabled(ID_CMD_READ));
    ClickRow(1);
    EXPECT_EQ(env.frame->session().currentIndex(), 1);
    EXPECT_TRUE(Page().resultSelected);
    EXPECT_EQ(wxWindow::FindFocus(), env.frame->articleView());
    EXPECT_EQ(FoundPositions(TheLibrary().issues[1]), std::vector<int>{0});

    // The found title is drawn in the found style's colour, the others not.
    CQuillboxView* view = env.frame->articleView();
    wxBitmap bitmap(view->GetClientSize());
    {
        wxMemoryDC dc(bitmap);
        view->Draw(dc);
    }
    const wxImage image = bitmap.ConvertToImage();
    const Rgb found = RgbOf(env.frame->textStyles()[kStyleFoundTitle].color);
    const auto hasFoundColour = [&](const HitRect& r) {
        for (int y = std::max(0, r.top); y < std::min(r.bottom, image.GetHeight()); ++y)
            for (int x = std::max(0, r.left); x < std::min(r.right, image.GetWidth()); ++x)
                if (image.GetRed(x, y) == found.red && image.GetGreen(x, y) == found.green &&
                    image.GetBlue(x, y) == found.blue)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasFoundColour(TheLibrary().issues[1].articles[0].hitRect));
    EXPECT_FALSE(hasFoundColour(TheLibrary().issues[1].articles[1].hitRect));

    // "Читать" and a double click open the issue's start page.
    env.frame->UpdateWindowUI();
    EXPECT_TRUE(env.frame->GetToolBar()->GetToolEnabled(ID_CMD_READ));
    SendCommand(env.frame, ID_CMD_READ);
    ASSERT_EQ(env.opened.size(), 1u);
    EXPECT_EQ(env.opened[0].value, env.work.Join("izone58") + "/index.htm");
}

// Choosing a row left "Читать" on the article clicked in the issue shown
// before, so it opened that position of the newly chosen issue.
TEST_F(SearchPageTest, ReadAfterAnArticleClickAndANewRowOpensTheNewIssue)
{
    WriteIssue(env.work, "izone57", ".\\frame\\left.htm", 3);
    WriteIssue(env.work, "izone58", ".\\frame\\left.htm", 3);
    Open(env.work.path());
    Search("Article 2", false);
    ASSERT_EQ(Results()->GetCount(), 2u);
    ClickRow(0);
    CQuillboxView* view = env.frame->articleView();
    const HitRect& second = TheLibrary().issues[0].articles[1].hitRect;
    ClickAt(view, wxPoint((second.left + second.right) / 2, (second.top + second.bottom) / 2));
    ASSERT_FALSE(env.frame->session().listItemChosen());
    SendCommand(env.frame, ID_CMD_READ);
    ClickRow(1);
    SendCommand(env.frame, ID_CMD_READ);
    ASSERT_EQ(env.opened.size(), 2u);
    EXPECT_EQ(env.opened[0].value, env.work.Join("izone57") + "/a2.htm");
    EXPECT_EQ(env.opened[1].value, env.work.Join("izone58") + "/index.htm");
}

// ----------------------------------------------------------------------------
// the window and the command-line tool agree
// ----------------------------------------------------------------------------

struct Row {
    int index;
    std::string caption;  ///< UTF-8
    std::vector<int> found;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    out << row.index << " " << row.caption << " [";
    for (int position : row.found)
        out << position << ' ';
    return out << ']';
}

std::vector<Row> ToolRows(const std::vector<std::string>& args)
{
    std::string command = std::string("'") + VESTRELS_CLI_PATH + "' --json --dir '" + VESTRELS_SAMPLES_DIR + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    char buffer[4096];
    while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe.get()))
        output.append(buffer, got);
    std::vector<Row> rows;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json row = nlohmann::json::parse(line);
        rows.push_back({row["index"], row["caption"], row["found"].get<std::vector<int>>()});
    }
    return rows;
}

TEST_F(SearchPageTest, WindowAndToolFindTheSameRowsAndMarksInTheDemoCollection)
{
    Open(VESTRELS_SAMPLES_DIR);
    struct Case {
        const char* query;
        bool inText, wholeWord, matchCase;
    };
    const Case cases[] = {
        {"модем", false, false, false}, {"модем", true, false, false}, {"а", true, true, false},
        {"Как", true, false, true},    {"ПРОГРАММ", false, false, false}, {"<b>", true, false, false},
    };
    for (const Case& c : cases) {
        Search(wxString::FromUTF8(c.query), c.inText, c.wholeWord, c.matchCase);
        ASSERT_TRUE(WaitForTheSearch()) << c.query;
        std::vector<Row> shown;
        for (unsigned row = 0; row < Results()->GetCount(); ++row) {
            const int issue = Page().resultIssues[row];
            shown.push_back({issue, Results()->GetString(row).ToStdString(wxConvUTF8),
                             FoundPositions(TheLibrary().issues[static_cast<std::size_t>(issue)])});
        }
        std::vector<std::string> args = {"search"};
        if (c.inText)
            args.push_back("--text");
        if (c.wholeWord)
            args.push_back("--whole-word");
        if (c.matchCase)
            args.push_back("--match-case");
        args.push_back(c.query);
        EXPECT_EQ(shown, ToolRows(args)) << c.query;
        if (std::string(c.query) != "<b>") {
            EXPECT_FALSE(shown.empty()) << c.query;
        }
    }
}

// ----------------------------------------------------------------------------
// a text search that is interrupted
// ----------------------------------------------------------------------------

class InterruptedSearch : public SearchPageTest {
protected:
    void SetUp() override
    {
        WriteCollection(30);
        Open(env.work.path());
        Search("needle", true);
        ASSERT_TRUE(Page().progressDlg.window());
        ASSERT_TRUE(PumpUntil([this] { return Results()->GetCount() >= 2; }));
    }
};

// "Прервать", Esc and the close box, one search each.
TEST_F(InterruptedSearch, CancelHidesTheDialogAtOnceAndKeepsTheRows)
{
    const std::vector<std::pair<const char*, std::function<void(wxDialog*)>>> ways = {
        {"button", [this](wxDialog* dialog) { Click(dialog->FindWindow(wxID_CANCEL)); }},
        {"Esc",
         [this](wxDialog* dialog) {
             dialog->FindWindow(wxID_CANCEL)->SetFocus();
             sim.Char(WXK_ESCAPE);
             Pump(100);
         }},
        {"close box",
         [](wxDialog* dialog) {
             dialog->Close();
             Pump(100);
         }},
    };
    for (std::size_t way = 0; way < ways.size(); ++way) {
        SCOPED_TRACE(ways[way].first);
        if (way > 0) {
            Search("needle", true);
            ASSERT_TRUE(PumpUntil([this] { return Results()->GetCount() >= 2; }));
        }
        wxDialog* dialog = Page().progressDlg.window();
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(env.frame->IsEnabled());
        auto* bar = dynamic_cast<wxGauge*>(dialog->FindWindow(ID_PROGRESS_BAR));
        EXPECT_EQ(bar->GetRange(), 30);
        EXPECT_GE(bar->GetValue(), 2);
        ways[way].second(dialog);
        // Hidden at once; the worker's final message may have destroyed it since.
        dialog = Page().progressDlg.window();
        EXPECT_TRUE(!dialog || !dialog->IsShown());
        EXPECT_EQ(Page().cancelState, -10);
        ASSERT_TRUE(PumpUntil([this] { return !Page().SearchRunning(); }));
        const unsigned rows = Results()->GetCount();
        EXPECT_GE(rows, 2u);
        EXPECT_LT(rows, 30u);
        // The worker's final message or the timer destroys the window.
        EXPECT_TRUE(PumpUntil([this] { return !Page().progressDlg.window(); }, 1500));
        Pump(200);
        EXPECT_EQ(Results()->GetCount(), rows);
        for (unsigned row = 0; row < rows; ++row)
            EXPECT_EQ(Page().resultIssues[row], static_cast<std::int32_t>(row));
    }
}

TEST_F(InterruptedSearch, TabChangeEndsTheSearchBeforeThePageGoes)
{
    ChooseTab(env.frame, 0);
    EXPECT_FALSE(Page().SearchRunning());
    EXPECT_FALSE(Page().progressDlg.window());
    EXPECT_TRUE(Page().resultIssues.empty());
    Pump(300);
    // The contents page cleared the marks, and nothing wrote them since.
    for (const IssueRecord& issue : TheLibrary().issues)
        EXPECT_EQ(issue.articles[0].mark, kMarkPlain);
    ChooseTab(env.frame, 1);
    EXPECT_EQ(Results()->GetCount(), 0u);
}

TEST_F(InterruptedSearch, RebuildEndsTheSearchAndDropsItsRows)
{
    env.frame->RebuildLibrary();
    EXPECT_FALSE(Page().SearchRunning());
    EXPECT_EQ(Results()->GetCount(), 0u);
    EXPECT_EQ(TheLibrary().issueCount(), 30);
    Pump(300);
    EXPECT_EQ(Results()->GetCount(), 0u);
    // The next search runs over the new library.
    Search("needle", false);
    EXPECT_EQ(Results()->GetCount(), 30u);
}

// A worker left running would read the freed library and post to freed
// objects; under the sanitizers and in this process that ends the run.
TEST_F(InterruptedSearch, CloseWaitsForTheWorker)
{
    ASSERT_TRUE(Page().SearchRunning());
    env.CloseMainWindow();
    Pump(300);
}

// ----------------------------------------------------------------------------
// a text search held up by a large one-line article
// ----------------------------------------------------------------------------

class SlowSearch : public SearchPageTest {
protected:
    /// izone1 and izone3 hold "needle other"; izone2 lists 40 links to one
    /// one-line page of 32 MB that begins with "needle", so a search reads it
    /// 40 times (seconds) before it adds its row. Starts a search for
    /// "needle" and waits until its worker reads izone2.
    void SearchIntoTheBigIssue()
    {
        if (env.frame)
            return ChooseTab(env.frame, 1), SearchAgain();
        std::string contents, line = "<p>needle</p>";
        for (int k = 0; k < 40; ++k)
            contents += "<a href=\"../big.htm\">Big</a>\r\n";
        while (line.size() < 32u << 20)
            line += "<p>some <b>words</b> between tags</p>";
        env.work.Write("izone2/frame/left.htm", contents);
        env.work.Write("izone2/big.htm", line);
        for (const char* folder : {"izone1/", "izone3/"}) {
            env.work.Write(std::string(folder) + "frame/left.htm", "<a href=\"../a.htm\">Article</a>\r\n");
            env.work.Write(std::string(folder) + "a.htm", "<p>needle other</p>\r\n");
        }
        Open(env.work.path());
        SearchAgain();
    }
    void SearchAgain()
    {
        Search("needle", true);
        ASSERT_TRUE(PumpUntil([this] { return Page().progressDlg.journalText == TheLibrary().issues[1].caption; }));
        Pump(100);
        ASSERT_TRUE(Page().SearchRunning());
    }

    /// With room for slow builds; bench/run_search_interrupt_bench.sh measures.
    static bool Prompt(std::chrono::steady_clock::time_point start)
    {
        return std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500);
    }
};

// Leaving the tab, a rebuild and closing the window threw the results away
// only after the worker had read the whole issue; the window froze till then.
TEST_F(SlowSearch, ThrowingTheResultsAwayStopsTheWorkerInsideTheFile)
{
    const auto contentsTab = [this] {
        wxNotebook* tabs = dynamic_cast<wxNotebook*>(env.frame->FindWindow(ID_TAB_CONTROL));
        int x = 1;
        while (tabs->HitTest(wxPoint(x, 10)) != 0)
            ++x;
        sim.MouseMove(tabs->ClientToScreen(wxPoint(x + 8, 14)));
        Pump(30);
        const auto start = std::chrono::steady_clock::now();
        sim.MouseClick();
        return PumpUntil([this] { return IssueListOf(env.frame) && IssueListOf(env.frame)->IsShownOnScreen(); }) &&
               Prompt(start);
    };
    const std::pair<const char*, std::function<bool()>> ways[] = {
        {"Оглавление", contentsTab},
        {"rebuild", [this] {
             const auto start = std::chrono::steady_clock::now();
             env.frame->RebuildLibrary();
             return Prompt(start) && !Page().SearchRunning() && Results()->GetCount() == 0;
         }},
        {"close", [this] {
             const auto start = std::chrono::steady_clock::now();
             env.CloseMainWindow();
             return Prompt(start);
         }},
    };
    for (const auto& [name, act] : ways) {
        SCOPED_TRACE(name);
        SearchIntoTheBigIssue();
        EXPECT_TRUE(act());
    }
}

// After "Прервать" a new search was dropped, and the cancelled one's row
// came later under the new query.
TEST_F(SlowSearch, NewSearchAfterACancelStartsAtOnceAndListsOnlyItsRows)
{
    SearchIntoTheBigIssue();
    // Not cancelled: "Искать" starts nothing, and the status bar says why.
    Query()->SetValue("other");
    Click(Control(ID_SEARCH_BUTTON));
    EXPECT_NE(env.frame->GetStatusBar()->GetStatusText(0).Find(wxString::FromUTF8("Прервать")), wxNOT_FOUND);

    Page().progressDlg.window()->FindWindow(wxID_CANCEL)->SetFocus();
    sim.Char(WXK_ESCAPE);
    Pump(50);
    ASSERT_TRUE(Page().SearchRunning()) << "the cancelled search finishes its issue";
    Query()->SetFocus();
    Query()->SetValue("");
    sim.Text("other");
    const auto start = std::chrono::steady_clock::now();
    sim.Char(WXK_RETURN);
    ASSERT_TRUE(PumpUntil([this] { return Page().progressDlg.window() && Page().progressDlg.window()->IsShown(); }));
    EXPECT_TRUE(Prompt(start));
    EXPECT_EQ(HistoryList(), (std::vector<wxString>{"other", "needle"}));
    // The new search lists izone1 before it reads izone2, whose row the
    // cancelled search would have added by now.
    ASSERT_TRUE(PumpUntil([this] { return Results()->GetCount() == 1; }));
    Pump(300);
    EXPECT_EQ(Results()->GetCount(), 1u);
    EXPECT_EQ(Page().resultIssues[0], 0);
}

}  // namespace
