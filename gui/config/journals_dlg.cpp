// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue editor's window: the list of folder prefixes, the two edits,
// the buttons and context help on every control.
#include "gui/config/journals_dlg.h"

#include <wx/button.h>
#include <wx/cshelp.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "core/settings/config_ids.h"
#include "gui/config/help_popup.h"
#include "platform/text1251.h"
#include "platform/wx/wx_host_ui.h"
#include "platform/wx/wx_text.h"

namespace {

/// The help text of each control, as the pop-up shows it.
struct HelpText {
    int id;
    const char* text;
};
const HelpText kHelpTexts[] = {
    {ID_KIND_LIST,
     "В этом окне представлен список всех журналов, с которыми работает программа.\n"
     "При выборе строки из списка, в нижнем окне показывается путь к файлу оглавления,\n"
     "а в самом нижнем - название журнала в левом окне программы.\n"
     "\tДля добавления нового журнала воспользуйтесь кнопкой <Добавить>,\n"
     "а для удаления - <Удалить>.\n"
     "\tПримечание: наличие двух строк с одинаковыми именами папок \"release\"\n"
     "объясняется тем, что файлы с оглавлением в журналах до №24 и далее\n"
     "расположены в разных папках. Это исключение возможно только для этого журнала. \n"
     "В общем случае в одноименных папках должен быть одно и то же расположение\n"
     "файла оглавления. Папки с журналами, в именах которых только цифры,\n"
     "недопустимы и должны быть предварительно переименованы"},
    {ID_CONTENTS_PATH,
     "В этой строке необходимо ввести путь к файлу оглавления внутри папки с номером. "
     "Путь должен начинаться с символа \\."},
    {ID_DISPLAY_NAME,
     "В этой строке введите любое понравившееся Вам имя, под которым журнал будет показан "
     "в левом окне программы."},
    {ID_ADD_KIND, "В окне, выпадающем после нажатия этой кнопки, введите  имя папки с новым журналом"},
    {ID_DELETE_KIND, "При нажатии кнопки из списка обрабатываемых журналов удаляется выделенное имя"},
    {wxID_OK, "После нажатия кнопки \"ОК\" его отредактированное содержимое запоминается."},
    {ID_CANCEL_BUTTON, "После нажатия этой кнопки сохраняется прежнее состояние."},
    {ID_APPLY_KIND, "При нажатии этой кнопки результаты редактирования сохраняются без выхода из диалога."},
};

class JournalsWindow : public wxDialog {
public:
    JournalsWindow(CJournalsDlg& owner, wxWindow* parent);
    bool loaded = false;

private:
    CJournalsDlg& owner;
    CatalogueEditor& editor;
    wxListBox* list = nullptr;
    wxTextCtrl* pathEdit = nullptr;
    wxTextCtrl* nameEdit = nullptr;

    void PlaceContextHelpButton();
    void ShowTexts();
    bool ApplyEdits();

    void OnSelect(wxCommandEvent& event);
    void OnListInput(wxEvent& event);
    void OnAdd(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnApply(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxDECLARE_EVENT_TABLE();
};

}  // namespace

// ----------------------------------------------------------------------------
// event table
// ----------------------------------------------------------------------------

wxBEGIN_EVENT_TABLE(JournalsWindow, wxDialog)
    EVT_LISTBOX(ID_KIND_LIST, JournalsWindow::OnSelect)
    EVT_BUTTON(ID_ADD_KIND, JournalsWindow::OnAdd)
    EVT_BUTTON(ID_DELETE_KIND, JournalsWindow::OnDelete)
    EVT_BUTTON(ID_APPLY_KIND, JournalsWindow::OnApply)
    EVT_BUTTON(wxID_OK, JournalsWindow::OnOk)
    EVT_BUTTON(ID_CANCEL_BUTTON, JournalsWindow::OnCancel)
    EVT_CHAR_HOOK(JournalsWindow::OnCharHook)
wxEND_EVENT_TABLE()

JournalsWindow::JournalsWindow(CJournalsDlg& owner, wxWindow* parent) : owner(owner), editor(owner.editor)
{
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "IDD_JOURNALS"))
        return;
    list = XRCCTRL(*this, "ID_KIND_LIST", wxListBox);
    list->Bind(wxEVT_LEFT_UP, &JournalsWindow::OnListInput, this);
    list->Bind(wxEVT_KEY_UP, &JournalsWindow::OnListInput, this);
    pathEdit = XRCCTRL(*this, "ID_CONTENTS_PATH", wxTextCtrl);
    nameEdit = XRCCTRL(*this, "ID_DISPLAY_NAME", wxTextCtrl);
    PlaceContextHelpButton();
    // The first label takes two lines where the font is wider than the one
    // the layout was made for.
    if (auto* label = XRCCTRL(*this, "ID_KIND_LIST_LABEL", wxStaticText))
        label->Wrap(label->GetSize().x);

    for (const HelpText& help : kHelpTexts)
        if (wxWindow* control = FindWindow(help.id))
            control->SetHelpText(wxString::FromUTF8(help.text));

    // The edits show the texts of the last selection, Apply or deletion;
    // no row is selected, whatever entry is current.
    ShowTexts();
    wxArrayString rows;
    for (const JournalKind& kind : editor.catalogue().entries)
        rows.Add(From1251(kind.prefix));
    list->Set(rows);
    // Esc and the close box press "Отмена".
    SetEscapeId(ID_CANCEL_BUTTON);
    loaded = true;
}

void JournalsWindow::PlaceContextHelpButton()
{
    // The button asks the dialog, its parent, for the next click, so it
    // stands on the dialog itself where the resource keeps its place; it
    // handles only the framework's own id.
    wxWindow* place = FindWindow(XRCID("ID_CONTEXT_HELP"));
    if (!place)
        return;
    const wxRect rect = place->GetRect();
    place->Destroy();
    auto* button = new wxContextHelpButton(this, wxID_CONTEXT_HELP, rect.GetPosition(), rect.GetSize());
    if (wxWindow* before = FindWindow(ID_DELETE_KIND))
        button->MoveAfterInTabOrder(before);
}

void JournalsWindow::ShowTexts()
{
    pathEdit->ChangeValue(From1251(editor.pathText));
    nameEdit->ChangeValue(From1251(editor.nameText));
}

bool JournalsWindow::ApplyEdits()
{
    // Texts the settings cannot hold are refused whole, never stored as "?".
    if (!AcceptOnly1251(pathEdit->GetValue(), this) || !AcceptOnly1251(nameEdit->GetValue(), this))
        return false;
    editor.Apply(To1251(pathEdit->GetValue()), To1251(nameEdit->GetValue()));
    return true;
}

void JournalsWindow::OnSelect(wxCommandEvent&)
{
    const int row = list->GetSelection();
    if (row == wxNOT_FOUND)
        return;
    editor.Select(row);
    ShowTexts();
}

void JournalsWindow::OnListInput(wxEvent& event)
{
    event.Skip();
    // The framework reports a selection only when its index differs from
    // the last one reported, so the row that moved into a deleted place is
    // never reported: the row under the click becomes current all the same.
    CallAfter([this] {
        const int row = list->GetSelection();
        if (row != wxNOT_FOUND && (!editor.HasCurrent() || *editor.currentKind != row)) {
            editor.Select(row);
            ShowTexts();
        }
    });
}

void JournalsWindow::OnAdd(wxCommandEvent&)
{
    if (owner.folderNameDlg.DoModal(this) != wxID_OK)
        return;
    const std::string name = owner.folderNameDlg.folderName;
    if (editor.Add(name)) {
        // The new entry is current: the list shows it selected and in view,
        // so the edits are not typed against the row that was selected.
        const int row = list->Append(From1251(name));
        list->SetSelection(row);
        list->EnsureVisible(row);
    }
    pathEdit->SetFocus();
}

void JournalsWindow::OnDelete(wxCommandEvent&)
{
    if (const auto row = editor.Delete()) {
        list->Delete(static_cast<unsigned>(*row));
        // No entry is current now, so no row may look selected.
        list->DeselectAll();
        ShowTexts();
    }
}

void JournalsWindow::OnApply(wxCommandEvent&)
{
    ApplyEdits();
}

void JournalsWindow::OnOk(wxCommandEvent&)
{
    if (!ApplyEdits())
        return;
    // Under an empty catalogue no folder is an issue.
    if (editor.catalogue().entries.empty()) {
        TheHostUi().ShowMessage(Cp1251("Список журналов пуст: ни одна папка не будет найдена.\n"
                                       "Добавьте хотя бы один журнал кнопкой «Добавить»."),
                                "Vestrels", platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return;
    }
    EndModal(wxID_OK);
}

void JournalsWindow::OnCancel(wxCommandEvent&)
{
    EndModal(wxID_CANCEL);
}

void JournalsWindow::OnCharHook(wxKeyEvent& event)
{
    // A key first closes a pop-up that is up; F1 asks for the next one.
    if (CHelpPopup* popup = CHelpPopup::Shown()) {
        popup->Withdraw();
        if (event.GetKeyCode() != WXK_F1)
            return;
    }
    SendHelpRequestOnF1(event);
}

int CJournalsDlg::DoModal(wxWindow* parent)
{
    InstallHelpPopups();
    JournalsWindow window(*this, parent);
    if (!window.loaded)
        return wxID_CANCEL;
    return window.ShowModal();
}
