// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites as a user meets them: right clicks that add and remove,
// the section and confirmation dialogs answered through the testing hook,
// the favourites tab, "Читать", and the file written after every change.
#include <gtest/gtest.h>

#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "gui/frame/ids.h"
#include "gui/frame/main_frame.h"
#include "gui/view/quillbox_view.h"
#include "gui/favorites/delete_confirm_dlg.h"
#include "gui/favorites/favorites_ids.h"
#include "gui/favorites/section_dlg.h"
#include "gui/gui_support.h"
#include "gui/leftpane/left_view.h"
#include "platform/text1251.h"

namespace {

/// Fails the test on a dialog nobody expected, and answers it with Cancel
/// instead of leaving it up.
class StrictModalHook : public wxTestingModalHook {
public:
    using wxTestingModalHook::wxTestingModalHook;

protected:
    int Enter(wxDialog* dialog) override
    {
        const int answer = wxTestingModalHook::Enter(dialog);
        return answer == wxID_NONE ? wxID_CANCEL : answer;
    }
    void ReportFailure(const wxString& message) override { ADD_FAILURE() << message.utf8_string(); }
};

#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS StrictModalHook

std::string Utf8(const wxString& text)
{
    return text.utf8_string();
}

/// Answers the section dialog with `name`, after noting what it offered.
class ExpectSection : public wxExpectModalBase<CSectionDlgWindow, ExpectSection> {
public:
    ExpectSection(std::string name, int answer, std::string* shownText = nullptr,
                  std::vector<std::string>* shownList = nullptr)
        : name(std::move(name)), answer(answer), shownText(shownText), shownList(shownList)
    {
    }

protected:
    int OnInvoked(CSectionDlgWindow* dialog) const override
    {
        if (shownText)
            *shownText = Utf8(dialog->combo()->GetValue());
        if (shownList)
            for (const wxString& item : dialog->combo()->GetStrings())
                shownList->push_back(Utf8(item));
        dialog->combo()->SetValue(wxString::FromUTF8(name));
        return answer;
    }

private:
    std::string name;
    int answer;
    std::string* shownText;
    std::vector<std::string>* shownList;
};

/// Answers the confirmation, after noting the title it showed.
class ExpectConfirm : public wxExpectModalBase<CDeleteConfirmDlgWindow, ExpectConfirm> {
public:
    ExpectConfirm(int answer, std::string* shownTitle) : answer(answer), shownTitle(shownTitle) {}

protected:
    int OnInvoked(CDeleteConfirmDlgWindow* dialog) const override
    {
        *shownTitle = Utf8(dialog->titleField()->GetValue());
        EXPECT_EQ(Utf8(dialog->GetTitle()), "Подтвердите удаление");
        EXPECT_TRUE(dialog->titleField()->GetWindowStyle() & wxTE_READONLY);
        return answer;
    }

private:
    int answer;
    std::string* shownTitle;
};

/// Answers a message box with OK, after noting its text and caption.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
public:
    explicit ExpectMessage(std::string* shown) : shown(shown) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        *shown = Utf8(dialog->GetMessage()) + " / " + Utf8(dialog->GetCaption());
        return wxID_OK;
    }

private:
    std::string* shown;
};

std::string Int32(std::int32_t value)
{
    std::string out;
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((static_cast<std::uint32_t>(value) >> shift) & 0xFF));
    return out;
}

std::string Internal(std::string hostPath)
{
    for (char& c : hostPath)
        if (c == '/')
            c = '\\';
    return hostPath;
}

class FavoritesFlows : public testing::Test {
protected:
    void OpenWith(const std::string& favoritesFile)
    {
        for (const char* folder : {"izone57", "izone58"})
            WriteIssue(env.work, folder, "frame\\left.htm", 4);
        env.work.Write("izone57/a1.htm", "<html></html>");
        env.StoreWorkingDirectory(env.work.path());
        if (!favoritesFile.empty())
            env.profile.dir().Write("cwd/SelFold.dat", favoritesFile);
        ASSERT_TRUE(env.OpenMainWindow());
        env.frame->SetClientSize(800, 500);
        Pump(100);
    }

    CLeftView& Pane() const { return *env.frame->leftPane(); }
    CQuillboxView* View() const { return env.frame->articleView(); }
    FavoritesStore& Store() const { return env.frame->session().favorites(); }
    ArticleEntry& Entry(int issue, int i) const { return env.frame->session().library().issues[issue].articles[i]; }
    std::string SavedFile() const { return env.profile.dir().Read("cwd/SelFold.dat"); }
    wxListBox* SectionList() const
    {
        wxWindow* page = Pane().favoritesPage.window();
        return page ? dynamic_cast<wxListBox*>(page->FindWindow(ID_SECTION_LIST)) : nullptr;
    }
    std::vector<std::string> SectionNames() const
    {
        std::vector<std::string> names;
        if (wxListBox* list = SectionList())
            for (const wxString& item : list->GetStrings())
                names.push_back(Utf8(item));
        return names;
    }

    void ShowIssue(int issue)
    {
        ChooseIssue(env.frame, issue);
        ASSERT_TRUE(PumpUntil([&] { return Entry(issue, 0).hitRect.bottom > 10; }));
    }
    void OpenFavoritesTab()
    {
        ChooseTab(env.frame, 2);
        ASSERT_TRUE(PumpUntil([&] { return !View()->IsIssueMode() && env.frame->session().currentIndex() == -1; }, 2000));
    }
    void ChooseSection(int row)
    {
        wxListBox* list = SectionList();
        for (int y = 1; y < list->GetClientSize().y; ++y)
            if (list->HitTest(20, y) == row) {
                ClickAt(list, wxPoint(20, y + 4), wxMOUSE_BTN_LEFT);
                ASSERT_TRUE(PumpUntil([&] { return Store().sections[row].articles[0].hitRect.bottom > 10; }));
                return;
            }
        FAIL() << "row " << row << " is not on screen";
    }

    void ClickAt(wxWindow* window, wxPoint point, int button)
    {
        sim.MouseMove(window->ClientToScreen(point));
        Pump(30);
        sim.MouseClick(button);
        Pump(150);
    }
    static wxPoint Middle(const HitRect& r) { return wxPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
    void RightClick(const HitRect& r)
    {
        // Two presses at one place within the double-click time make a
        // double click, which is no right click.
        Pump(500);
        ClickAt(View(), Middle(r), wxMOUSE_BTN_RIGHT);
    }

    GuiEnvironment env;
    wxUIActionSimulator sim;
};

}  // namespace

TEST_F(FavoritesFlows, RightClicksAddToNamedSectionsAndEveryChangeIsInTheFileAtOnce)
{
    OpenWith("");
    ShowIssue(0);

    // Beside all entries, and on the terminating entry: no dialog, nothing added.
    {
        StrictModalHook hook(__FILE__, __LINE__, "beside");
        ClickAt(View(), wxPoint(300, 450), wxMOUSE_BTN_RIGHT);
        RightClick(Entry(0, 4).hitRect);
        hook.CheckUnmetExpectations();
    }
    EXPECT_TRUE(Store().sections.empty());

    std::string text = "?";
    std::vector<std::string> list;
    wxTEST_DIALOG(RightClick(Entry(0, 1).hitRect), ExpectSection("Чтение", wxID_OK, &text, &list));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(Store().sections.size(), 1u);
    EXPECT_EQ(Entry(0, 1).mark, kMarkSelected);
    const std::string title = Entry(0, 1).title;
    const std::string link = Internal(env.work.path()) + "\\izone57\\a2.htm";
    const std::string oneFavourite =
        Int32(1) + Int32(1) + Cp1251("Чтение") + "\r\n" + title + std::string("\r\n\0\r\n", 5) + link + "\r\n";
    EXPECT_EQ(SavedFile(), oneFavourite);
    // The refresh tick gives the view the focus back after the dialog.
    EXPECT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == View(); }, 1000));

    // The same article again: the dialog offers the name chosen last and
    // every section; the duplicate is refused and nothing is written.
    std::string message;
    text.clear();
    list.clear();
    wxTEST_DIALOG(RightClick(Entry(0, 1).hitRect), ExpectSection("Чтение", wxID_OK, &text, &list),
                  ExpectMessage(&message));
    EXPECT_EQ(text, "Чтение");
    EXPECT_EQ(list, std::vector<std::string>{"Чтение"});
    EXPECT_EQ(message, "Выбранная статья уже имеется в этой папке! / Предупреждение");
    EXPECT_EQ(SavedFile(), oneFavourite);

    // Into another section it goes; then a cancelled dialog changes nothing.
    wxTEST_DIALOG(RightClick(Entry(0, 1).hitRect), ExpectSection("чтение", wxID_OK));
    list.clear();
    wxTEST_DIALOG(RightClick(Entry(0, 2).hitRect), ExpectSection("Другое", wxID_CANCEL, &text, &list));
    EXPECT_EQ(text, "чтение");
    EXPECT_EQ(list, (std::vector<std::string>{"Чтение", "чтение"}));
    ASSERT_EQ(Store().sections.size(), 2u);
    EXPECT_EQ(Store().sections[1].name, Cp1251("чтение"));
    EXPECT_EQ(SavedFile(), SerializeFavorites(Store()));
    EXPECT_EQ(Entry(0, 2).mark, kMarkPlain);
}

TEST_F(FavoritesFlows, RightClicksRemoveAfterConfirmationAndAnEmptiedSectionLeavesTheList)
{
    FavoritesStore start;
    start.sections.push_back({"A",
                              {{"     First\r\nIts annotation", "D:\\journals\\IZONE57\\a1.htm", kMarkPlain, {}},
                               {"     Second", "\\elsewhere\\b.htm", kMarkPlain, {}}}});
    start.sections.push_back({"B", {{"     Only", "\\elsewhere\\c.htm", kMarkPlain, {}}}});
    OpenWith(SerializeFavorites(start));
    ShowIssue(0);
    OpenFavoritesTab();
    EXPECT_EQ(SectionNames(), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(PumpUntil([&] { return !env.frame->GetToolBar()->GetToolEnabled(ID_CMD_READ); }, 1000));

    ChooseSection(1);
    EXPECT_EQ(env.frame->session().currentIndex(), 1);
    EXPECT_TRUE(Pane().favoritesPage.sectionChosen);

    std::string shown;
    wxTEST_DIALOG(RightClick(Store().sections[1].articles[0].hitRect), ExpectConfirm(wxID_CANCEL, &shown));
    EXPECT_EQ(shown, "     Only");
    EXPECT_EQ(Store().sections.size(), 2u);

    // The last article of the chosen section: the section goes, the list is
    // rebuilt without it, nothing is chosen and the view is empty.
    wxTEST_DIALOG(RightClick(Store().sections[1].articles[0].hitRect), ExpectConfirm(wxID_OK, &shown));
    ASSERT_EQ(Store().sections.size(), 1u);
    EXPECT_EQ(SectionNames(), std::vector<std::string>{"A"});
    EXPECT_EQ(env.frame->session().currentIndex(), -1);
    EXPECT_FALSE(Pane().favoritesPage.sectionChosen);
    EXPECT_FALSE(View()->IsIssueMode());
    EXPECT_EQ(SavedFile(), SerializeFavorites(Store()));

    // In a section with more articles the section and the view stay.
    ChooseSection(0);
    wxTEST_DIALOG(RightClick(Store().sections[0].articles[0].hitRect), ExpectConfirm(wxID_OK, &shown));
    EXPECT_EQ(shown, "     First / Its annotation");
    ASSERT_EQ(Store().sections.size(), 1u);
    ASSERT_EQ(Store().sections[0].articles.size(), 1u);
    EXPECT_EQ(Store().sections[0].articles[0].title, "     Second");
    EXPECT_EQ(env.frame->session().currentIndex(), 0);
    EXPECT_EQ(SavedFile(), SerializeFavorites(Store()));

    // Leaving the tab returns the view to the issues, and the issue that was
    // current before.
    ChooseTab(env.frame, 0);
    EXPECT_TRUE(View()->IsIssueMode());
    EXPECT_EQ(env.frame->session().currentIndex(), 0);
}

TEST_F(FavoritesFlows, ReadAndDoubleClickOpenTheFavouriteAndWindowsPathsFindTheirPageHere)
{
    FavoritesStore start;
    start.sections.push_back({"A",
                              {{"     From Windows", "D:\\journals\\IZONE57\\a1.htm", kMarkPlain, {}},
                               {"     Elsewhere", "\\elsewhere\\b.htm", kMarkPlain, {}}}});
    OpenWith(SerializeFavorites(start));
    OpenFavoritesTab();
    ChooseSection(0);
    EXPECT_TRUE(PumpUntil([&] { return env.frame->GetToolBar()->GetToolEnabled(ID_CMD_READ); }, 1000));

    // A section chosen and no favourite clicked: there is nothing to open.
    SendCommand(env.frame, ID_CMD_READ);
    EXPECT_TRUE(env.opened.empty());

    ClickAt(View(), Middle(Store().sections[0].articles[0].hitRect), wxMOUSE_BTN_LEFT);
    SendCommand(env.frame, ID_CMD_READ);
    ASSERT_EQ(env.opened.size(), 1u);
    EXPECT_EQ(env.opened[0].value, env.work.Join("izone57/a1.htm"));

    sim.MouseMove(View()->ClientToScreen(Middle(Store().sections[0].articles[1].hitRect)));
    Pump(30);
    sim.MouseDblClick();
    Pump(150);
    ASSERT_EQ(env.opened.size(), 2u);
    EXPECT_EQ(env.opened[1].value, "/elsewhere/b.htm");
}

TEST_F(FavoritesFlows, OpeningTheTabClearsTheFoundMarksOfAllIssues)
{
    OpenWith("");
    for (int issue : {0, 1})
        for (int i : {0, 2})
            Entry(issue, i).mark = kMarkFound;
    // Checked on the favourites tab: the contents tab clears them as well.
    OpenFavoritesTab();
    for (int issue : {0, 1})
        for (int i = 0; i < kEntriesPerIssue; ++i)
            ASSERT_EQ(Entry(issue, i).mark, kMarkPlain) << issue << "/" << i;
}

namespace {

/// A section of four; the article clicked (-1: none) and the one removed
/// (-1: none) before "Читать".
struct ReadAfterRemovalCase {
    const char* name;
    int clicked;
    int removed;
    int opened;  ///< the article "Читать" opens, -1 for none (the status bar says why)
};

class ReadAfterRemoval : public FavoritesFlows, public testing::WithParamInterface<ReadAfterRemovalCase> {};

TEST_P(ReadAfterRemoval, ReadOpensTheArticleDrawnAsSelectedOrNothing)
{
    const ReadAfterRemovalCase& c = GetParam();
    FavoritesStore start;
    start.sections.push_back({"A", {}});
    for (int i = 0; i < 4; ++i)
        start.sections[0].articles.push_back(
            {"     Article " + std::to_string(i), "\\elsewhere\\" + std::to_string(i) + ".htm", kMarkPlain, {}});
    OpenWith(SerializeFavorites(start));
    OpenFavoritesTab();
    ChooseSection(0);
    ASSERT_TRUE(PumpUntil([&] { return Store().sections[0].articles[3].hitRect.bottom > 0; }));
    if (c.clicked >= 0)
        ClickAt(View(), Middle(Store().sections[0].articles[c.clicked].hitRect), wxMOUSE_BTN_LEFT);
    std::string shown;
    if (c.removed >= 0) {
        wxTEST_DIALOG(RightClick(Store().sections[0].articles[c.removed].hitRect), ExpectConfirm(wxID_OK, &shown));
        Pump(200);
    }
    env.frame->SetStatusText("", 0);
    SendCommand(env.frame, ID_CMD_READ);
    if (c.opened < 0) {
        EXPECT_TRUE(env.opened.empty());
        EXPECT_EQ(Utf8(env.frame->GetStatusBar()->GetStatusText(0)), "Щёлкните статью, которую нужно открыть");
        return;
    }
    ASSERT_EQ(env.opened.size(), 1u);
    EXPECT_EQ(env.opened[0].value, "/elsewhere/" + std::to_string(c.opened) + ".htm");
    for (const TSelected& article : Store().sections[0].articles)
        EXPECT_EQ(article.mark == kMarkSelected, article.link == start.sections[0].articles[c.opened].link);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadAfterRemoval,
                         testing::Values(ReadAfterRemovalCase{"RemovedBeforeTheSelected", 2, 0, 2},
                                         ReadAfterRemovalCase{"RemovedAfterTheSelected", 0, 3, 0},
                                         ReadAfterRemovalCase{"SelectedRemoved", 2, 2, -1},
                                         ReadAfterRemovalCase{"NoArticleClicked", -1, -1, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
