// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration dialogs shown for real and driven by simulated clicks and
// keys: the catalogue editor with its help pop-ups, the fonts dialog with the
// font chooser, the About box, and the Readme and help commands.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include <wx/clrpicker.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

#include "gui/frame/ids.h"
#include "gui/frame/main_frame.h"
#include "core/settings/settings_store.h"
#include "gui/view/quillbox_view.h"
#include "core/settings/config_ids.h"
#include "gui/config/font_chooser_dlg.h"
#include "gui/config/help_popup.h"
#include "gui/gui_support.h"
#include "gui/leftpane/left_view.h"
#include "support/settings_values.h"

namespace {

/// Steps to take inside modal dialogs, each once the innermost shown dialog
/// is the one it waits for. Steps only send simulated input or look, so the
/// dialogs' own loops go on.
class DialogScript : public wxTimer {
public:
    using Match = std::function<bool(wxDialog&)>;
    using Action = std::function<void(wxDialog&)>;

    DialogScript() { Start(30); }
    ~DialogScript() override { Stop(); }

    void Then(const wxString& title, Action action)
    {
        Then([title](wxDialog& d) { return d.GetTitle() == title; }, std::move(action));
    }
    void Then(Match match, Action action) { steps.push_back({std::move(match), std::move(action)}); }
    bool Done() const { return steps.empty(); }

    void Notify() override
    {
        if (steps.empty())
            return;
        wxDialog* innermost = nullptr;
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsShown() && dialog->IsModal())
                innermost = dialog;
        if (!innermost || !steps.front().match(*innermost))
            return;
        // A dialog that was just shown needs its first paint and layout.
        if (++settle < 4)
            return;
        settle = 0;
        Step step = std::move(steps.front());
        steps.pop_front();
        step.action(*innermost);
    }

private:
    struct Step {
        Match match;
        Action action;
    };
    std::deque<Step> steps;
    int settle = 0;
};

wxString Utf8(const char* text)
{
    return wxString::FromUTF8(text);
}

wxUIActionSimulator& Sim()
{
    static wxUIActionSimulator sim;
    return sim;
}

void ClickOn(wxWindow* window)
{
    ASSERT_TRUE(window);
    Sim().MouseMove(window->GetScreenRect().GetPosition() + wxPoint(8, window->GetSize().y / 2));
    Sim().MouseClick();
}

void TypeInto(wxWindow* edit, const char* text)
{
    // Keys go where the pointer is when no window manager gives the focus.
    Sim().MouseMove(edit->GetScreenRect().GetPosition() + wxPoint(8, edit->GetSize().y / 2));
    edit->SetFocus();
    Sim().Text(text);
}

std::vector<std::string> ListRows(wxListBox* list)
{
    std::vector<std::string> rows;
    for (unsigned i = 0; list && i < list->GetCount(); ++i)
        rows.push_back(list->GetString(i).utf8_string());
    return rows;
}

class ConfigDialogs : public testing::Test {
protected:
    void SetUp() override
    {
        WriteIssue(env.work, "izone57", "frame\\left.htm", 3);
        // A journal the default catalogue does not know.
        WriteIssue(env.work, "hacker5", "toc.htm", 2);
        env.StoreWorkingDirectory(env.work.path());
        ASSERT_TRUE(env.OpenMainWindow());
        env.frame->SetClientSize(900, 600);
        Pump(100);
    }

    /// Runs the command; the script answers its dialogs.
    void RunCommand(int id, DialogScript& script)
    {
        SendCommand(env.frame, id);
        EXPECT_TRUE(script.Done()) << "the dialogs did not come up as expected";
    }

    GuiEnvironment env;
};

const wxString kEditorTitle = Utf8("Подключение журналов");
const wxString kFolderTitle = Utf8("Имя папки с номером");
const wxString kFontsTitle = Utf8("Выбор  ");

}  // namespace

TEST_F(ConfigDialogs, AddedJournalKindIsListedAtOnceAndAfterARestart)
{
    EXPECT_EQ(ListRows(IssueListOf(env.frame)), std::vector<std::string>{"InternetZone57"});
    ChooseTab(env.frame, 1);

    DialogScript script;
    script.Then(kEditorTitle, [](wxDialog& d) { ClickOn(d.FindWindow(ID_ADD_KIND)); });
    script.Then(kFolderTitle, [](wxDialog& d) { TypeInto(d.FindWindow(ID_FOLDER_NAME), "hacker"); });
    script.Then(kFolderTitle, [](wxDialog& d) { ClickOn(d.FindWindow(wxID_OK)); });
    script.Then(kEditorTitle, [](wxDialog& d) { TypeInto(d.FindWindow(ID_CONTENTS_PATH), ".\\toc.htm"); });
    script.Then(kEditorTitle, [](wxDialog& d) { TypeInto(d.FindWindow(ID_DISPLAY_NAME), "Hacker"); });
    script.Then(kEditorTitle, [](wxDialog& d) { ClickOn(d.FindWindow(wxID_OK)); });
    RunCommand(ID_CMD_JOURNALS, script);

    // The rebuilt list is shown under its own tab.
    auto* tabs = dynamic_cast<wxNotebook*>(env.frame->FindWindow(ID_TAB_CONTROL));
    EXPECT_EQ(tabs->GetSelection(), 0);
    EXPECT_EQ(env.frame->leftPane()->currentPage, &env.frame->leftPane()->contentsPage);
    EXPECT_EQ(ListRows(IssueListOf(env.frame)), (std::vector<std::string>{"InternetZone57", "Hacker5"}));
    EXPECT_TRUE(env.frame->leftPane()->searchPage.window() == nullptr);

    const std::string names = env.Value("NameJournals");
    EXPECT_EQ(env.Value("NumNameJournals"), std::string("\x06\0\0\0", 4));
    EXPECT_NE(names.find(std::string("hacker\0\0\0", 9)), std::string::npos);
    EXPECT_NE(env.Value("NameContents").find(std::string(".\\toc.htm\0\0\0", 12)), std::string::npos);
    EXPECT_NE(env.Value("NewName").find(std::string("Hacker\0\0\0", 9)), std::string::npos);

    env.CloseMainWindow();
    ASSERT_TRUE(env.OpenMainWindow());
    EXPECT_EQ(ListRows(IssueListOf(env.frame)), (std::vector<std::string>{"InternetZone57", "Hacker5"}));
}

TEST_F(ConfigDialogs, CancelAfterAddStoresNothingAndTheEntryStaysForNextTime)
{
    const std::string storedNames = env.Value("NameJournals");
    DialogScript script;
    script.Then(kEditorTitle, [](wxDialog& d) { ClickOn(d.FindWindow(ID_ADD_KIND)); });
    script.Then(kFolderTitle, [](wxDialog& d) { TypeInto(d.FindWindow(ID_FOLDER_NAME), "hacker"); });
    script.Then(kFolderTitle, [](wxDialog& d) { ClickOn(d.FindWindow(wxID_OK)); });
    script.Then(kEditorTitle, [](wxDialog& d) { ClickOn(d.FindWindow(ID_CANCEL_BUTTON)); });
    RunCommand(ID_CMD_JOURNALS, script);
    EXPECT_EQ(env.Value("NameJournals"), storedNames);
    EXPECT_EQ(env.frame->journalCatalogue().kindCount(), 6);

    std::vector<std::string> rows;
    DialogScript again;
    again.Then(kEditorTitle, [&](wxDialog& d) {
        rows = ListRows(dynamic_cast<wxListBox*>(d.FindWindow(ID_KIND_LIST)));
        // Esc is "Отмена" too.
        Sim().MouseMove(d.GetScreenRect().GetPosition() + wxPoint(4, 4));
        Sim().Char(WXK_ESCAPE);
    });
    RunCommand(ID_CMD_JOURNALS, again);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.back(), "hacker");
}

TEST_F(ConfigDialogs, HelpPopupsShowTheControlsTextBesideTheHelpPoint)
{
    wxString f1Text;
    wxRect f1Rect;
    wxPoint f1Point;
    wxString buttonText;
    bool popupOverLabel = true;
    DialogScript script;
    script.Then(kEditorTitle, [&](wxDialog& d) {
        // Far enough right that the pop-up need not move to stay on screen.
        const wxRect list = d.FindWindow(ID_KIND_LIST)->GetScreenRect();
        Sim().MouseMove(wxPoint(list.GetRight() - 20, list.y + 10));
        Sim().MouseClick();
        f1Point = wxGetMousePosition();
        Sim().Char(WXK_F1);
    });
    script.Then([](wxDialog&) { return CHelpPopup::Shown() != nullptr; },
                [&](wxDialog& d) {
                    f1Text = CHelpPopup::Shown()->text();
                    f1Rect = CHelpPopup::Shown()->GetScreenRect();
                    CHelpPopup::Shown()->Withdraw();
                    // The "?" button, then a click on "Удалить": help, not a deletion.
                    ClickOn(d.FindWindow(wxID_CONTEXT_HELP));
                });
    script.Then([](wxDialog&) { return CHelpPopup::Shown() == nullptr; },
                [](wxDialog& d) { ClickOn(d.FindWindow(ID_DELETE_KIND)); });
    script.Then([](wxDialog&) { return CHelpPopup::Shown() != nullptr; },
                [&](wxDialog& d) {
                    buttonText = CHelpPopup::Shown()->text();
                    CHelpPopup::Shown()->Withdraw();
                    ClickOn(d.FindWindow(wxID_CONTEXT_HELP));
                });
    script.Then([](wxDialog&) { return CHelpPopup::Shown() == nullptr; },
                [](wxDialog& d) { ClickOn(d.FindWindow(XRCID("ID_DISPLAY_NAME_LABEL"))); });
    script.Then(kEditorTitle, [&](wxDialog& d) {
        // A label has no text: no pop-up.
        popupOverLabel = CHelpPopup::Shown() != nullptr;
        ClickOn(d.FindWindow(ID_CANCEL_BUTTON));
    });
    RunCommand(ID_CMD_JOURNALS, script);

    EXPECT_TRUE(f1Text.StartsWith(Utf8("В этом окне представлен список всех журналов")));
    EXPECT_NE(f1Text.Find(Utf8("<Удалить>.\n\tПримечание: наличие двух строк")), wxNOT_FOUND);
    EXPECT_TRUE(f1Text.EndsWith(Utf8("предварительно переименованы")));
    // The top centre stands 100 pixels left of the help point.
    EXPECT_EQ(f1Rect.y, f1Point.y);
    EXPECT_NEAR(f1Rect.x + f1Rect.width / 2, f1Point.x - 100, 1);
    EXPECT_EQ(buttonText, Utf8("При нажатии кнопки из списка обрабатываемых журналов удаляется выделенное имя"));
    EXPECT_EQ(env.frame->journalCatalogue().kindCount(), 5) << "the click in help mode deleted an entry";
    EXPECT_FALSE(popupOverLabel);
}

TEST_F(ConfigDialogs, ChosenFontIsDrawnAtOnceAndEscStoresIt)
{
    ChooseIssue(env.frame, 0);
    CQuillboxView* view = env.frame->articleView();
    int paints = 0;
    view->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
        ++paints;
        event.Skip();
    });
    Pump(100);
    const auto titleHeight = [&] {
        const wxSize size = view->GetClientSize();
        wxBitmap bitmap(size);
        wxMemoryDC dc(bitmap);
        view->Draw(dc);
        const HitRect r = env.frame->session().library().issues[0].articles[0].hitRect;
        return r.bottom - r.top;
    };
    const int heightBefore = titleHeight();

    int paintsBeforeChoice = 0;
    int paintsAfterChoice = 0;
    DialogScript script;
    script.Then(kFontsTitle, [&](wxDialog& d) {
        paintsBeforeChoice = paints;
        ClickOn(d.FindWindow(ID_FONT_PLAIN_TITLE));
    });
    script.Then([](wxDialog& d) { return dynamic_cast<CFontChooserDlg*>(&d) != nullptr; },
                [](wxDialog& d) {
                    auto* faces = dynamic_cast<wxListBox*>(d.FindWindow(ID_FONT_FACE));
                    ASSERT_TRUE(faces->SetStringSelection("DejaVu Serif"));
                    dynamic_cast<wxSpinCtrl*>(d.FindWindow(ID_FONT_SIZE))->SetValue(20);
                    dynamic_cast<wxColourPickerCtrl*>(d.FindWindow(ID_FONT_COLOUR))->SetColour(wxColour(0, 128, 0));
                    ClickOn(d.FindWindow(wxID_OK));
                });
    script.Then(kFontsTitle, [&](wxDialog& d) {
        paintsAfterChoice = paints;
        // Without a window manager the keys go where the pointer is.
        Sim().MouseMove(d.GetScreenRect().GetPosition() + wxPoint(4, 4));
        Sim().Char(WXK_ESCAPE);
    });
    RunCommand(ID_CMD_FONTS, script);

    EXPECT_GT(paintsAfterChoice, paintsBeforeChoice) << "the view was not repainted after the choice";
    // A copy: the frame that holds it is closed below.
    const TextStyle style = env.frame->textStyles()[kStylePlainTitle];
    EXPECT_EQ(style.font.faceName, "DejaVu Serif");
    EXPECT_EQ(style.color, 0x00008000u);
    EXPECT_LT(style.font.height, 0);
    EXPECT_GT(titleHeight(), heightBefore);

    TextStyle stored = style;
    DecodeFontRecord(env.Value("LogFont_1"), stored);
    EXPECT_EQ(stored, style);
    EXPECT_EQ(env.Value("NameFont").substr(0, 13), std::string("DejaVu Serif\0", 13));

    // The chooser starts at the style's size, so the choice survives a restart.
    env.CloseMainWindow();
    ASSERT_TRUE(env.OpenMainWindow());
    EXPECT_EQ(env.frame->textStyles()[kStylePlainTitle], style);
    int shownSize = 0;
    wxColour shownColour;
    DialogScript reopen;
    reopen.Then(kFontsTitle, [](wxDialog& d) { ClickOn(d.FindWindow(ID_FONT_PLAIN_TITLE)); });
    reopen.Then([](wxDialog& d) { return dynamic_cast<CFontChooserDlg*>(&d) != nullptr; },
                [&](wxDialog& d) {
                    shownSize = dynamic_cast<wxSpinCtrl*>(d.FindWindow(ID_FONT_SIZE))->GetValue();
                    shownColour = dynamic_cast<wxColourPickerCtrl*>(d.FindWindow(ID_FONT_COLOUR))->GetColour();
                    ClickOn(d.FindWindow(wxID_CANCEL));
                });
    reopen.Then(kFontsTitle, [](wxDialog& d) { ClickOn(d.FindWindow(wxID_OK)); });
    RunCommand(ID_CMD_FONTS, reopen);
    EXPECT_EQ(shownSize, 20);
    EXPECT_EQ(shownColour, wxColour(0, 128, 0));
    EXPECT_EQ(env.frame->textStyles()[kStylePlainTitle], style) << "a cancelled choice changed the style";
}

TEST_F(ConfigDialogs, AboutMailsTheAuthorsAndReadmeOpensFromTheCurrentFolder)
{
    bool openAfterMail = false;
    DialogScript script;
    script.Then(Utf8("О программе Vestrel"), [](wxDialog& d) { ClickOn(d.FindWindow(ID_AUTHOR_EMAIL)); });
    script.Then(Utf8("О программе Vestrel"), [&](wxDialog& d) {
        openAfterMail = d.IsShown();
        ClickOn(d.FindWindow(wxID_OK));
    });
    RunCommand(ID_CMD_ABOUT, script);
    EXPECT_TRUE(openAfterMail);
    ASSERT_EQ(env.opened.size(), 1u);
    EXPECT_EQ(env.opened[0].kind, platform::shell::TargetKind::Address);
    EXPECT_EQ(env.opened[0].value, "mailto:vestrels@example.org");

    // The journals live elsewhere; the page is looked for where the program runs.
    SendCommand(env.frame, ID_CMD_README);
    ASSERT_EQ(env.opened.size(), 2u);
    EXPECT_EQ(env.opened[1].kind, platform::shell::TargetKind::File);
    EXPECT_EQ(env.opened[1].value, env.profile.dir().Join("cwd") + "/Readme.htm");

    // F1 in the main window asks for the same page.
    Sim().MouseMove(env.frame->articleView()->GetScreenRect().GetPosition() + wxPoint(40, 40));
    Sim().MouseClick();
    Pump(100);
    Sim().Char(WXK_F1);
    PumpUntil([&] { return env.opened.size() >= 3; }, 2000);
    ASSERT_EQ(env.opened.size(), 3u);
    EXPECT_EQ(env.opened[2].value, env.opened[1].value);
}

namespace {

int SelectedRow(wxDialog& d)
{
    return dynamic_cast<wxListBox*>(d.FindWindow(ID_KIND_LIST))->GetSelection();
}

void ClickRow(wxDialog& d, int row, int x)
{
    auto* list = dynamic_cast<wxListBox*>(d.FindWindow(ID_KIND_LIST));
    const int rowHeight = list->GetClientSize().y / std::max(1, list->GetCountPerPage());
    Sim().MouseMove(list->GetScreenPosition() + wxPoint(x, rowHeight * row + rowHeight / 2));
    Sim().MouseClick();
}

}  // namespace

// The list's selection always shows the current entry: none after a
// deletion, any clicked row after it, and a row just added.
TEST_F(ConfigDialogs, ListSelectionAlwaysShowsTheCurrentEntry)
{
    std::vector<int> selections;
    wxString gotPath;
    DialogScript script;
    script.Then(kEditorTitle, [](wxDialog& d) { ClickRow(d, 1, 20); });
    script.Then(kEditorTitle, [](wxDialog& d) { ClickOn(d.FindWindow(ID_DELETE_KIND)); });
    script.Then(kEditorTitle, [&](wxDialog& d) { selections.push_back(SelectedRow(d)); });
    // "gold" moved into the deleted place; away from the first click, so no double click.
    script.Then(kEditorTitle, [](wxDialog&) { wxMilliSleep(500); });
    script.Then(kEditorTitle, [](wxDialog& d) { ClickRow(d, 1, 60); });
    script.Then(kEditorTitle, [&](wxDialog& d) {
        selections.push_back(SelectedRow(d));
        gotPath = dynamic_cast<wxTextCtrl*>(d.FindWindow(ID_CONTENTS_PATH))->GetValue();
        TypeInto(d.FindWindow(ID_DISPLAY_NAME), "Gold");
    });
    script.Then(kEditorTitle, [](wxDialog& d) { ClickOn(d.FindWindow(ID_APPLY_KIND)); });
    script.Then(kEditorTitle, [](wxDialog& d) { ClickOn(d.FindWindow(ID_ADD_KIND)); });
    script.Then(kFolderTitle, [](wxDialog& d) { TypeInto(d.FindWindow(ID_FOLDER_NAME), "hacker"); });
    script.Then(kFolderTitle, [](wxDialog& d) { ClickOn(d.FindWindow(wxID_OK)); });
    script.Then(kEditorTitle, [&](wxDialog& d) {
        selections.push_back(SelectedRow(d));
        TypeInto(d.FindWindow(ID_CONTENTS_PATH), ".\\toc.htm");
    });
    script.Then(kEditorTitle, [](wxDialog& d) { TypeInto(d.FindWindow(ID_DISPLAY_NAME), "Hacker"); });
    script.Then(kEditorTitle, [](wxDialog& d) { ClickOn(d.FindWindow(wxID_OK)); });
    RunCommand(ID_CMD_JOURNALS, script);

    EXPECT_EQ(selections, (std::vector<int>{wxNOT_FOUND, 1, 4}));
    EXPECT_EQ(gotPath, ".\\frame\\left.htm");
    EXPECT_EQ(env.Value("NameJournals"), ToMultiString("release\r\ngold\r\nizone\r\nprotoplex\r\nhacker\r\n"));
    EXPECT_EQ(env.Value("NameContents"),
              ToMultiString(".\\pages\\materials.htm\r\n.\\frame\\left.htm\r\n.\\frame\\left.htm\r\n"
                            ".\\mainbody\\menu.html\r\n.\\toc.htm\r\n"));
    EXPECT_EQ(env.Value("NewName"), ToMultiString("InternetZone\r\nGold\r\nInternetZone\r\nProtoPlex\r\nHacker\r\n"));
}
