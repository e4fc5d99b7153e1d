// SPDX-License-Identifier: GPL-3.0-or-later
// The folder-name dialog: one edit, OK and "Отмена".
#include "gui/config/folder_name_dlg.h"

#include <wx/dialog.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "core/settings/config_ids.h"
#include "platform/wx/wx_text.h"

int CFolderNameDlg::DoModal(wxWindow* parent)
{
    wxDialog dialog;
    if (!wxXmlResource::Get()->LoadDialog(&dialog, parent, "IDD_FOLDER_NAME"))
        return wxID_CANCEL;
    // Esc and the close box press "Отмена".
    dialog.SetEscapeId(ID_CANCEL_BUTTON);
    dialog.Bind(wxEVT_BUTTON, [&dialog](wxCommandEvent&) { dialog.EndModal(wxID_CANCEL); }, ID_CANCEL_BUTTON);
    auto* edit = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(ID_FOLDER_NAME));
    // A name the settings cannot hold keeps the dialog open.
    dialog.Bind(
        wxEVT_BUTTON,
        [&dialog, edit](wxCommandEvent& event) {
            if (AcceptOnly1251(edit->GetValue(), &dialog))
                event.Skip();
        },
        wxID_OK);
    edit->ChangeValue(From1251(folderName));
    edit->SelectAll();
    edit->SetFocus();
    const int result = dialog.ShowModal();
    if (result == wxID_OK)
        folderName = To1251(edit->GetValue());
    return result;
}
