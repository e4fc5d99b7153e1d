// SPDX-License-Identifier: GPL-3.0-or-later
// The confirmation dialog: the favourite's title, the question, OK and
// "Отменить".
#include "gui/favorites/delete_confirm_dlg.h"

#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "gui/favorites/favorites_ids.h"
#include "core/favorites/favorites_ops.h"
#include "platform/wx/spoken_names.h"
#include "platform/wx/wx_text.h"

CDeleteConfirmDlgWindow::CDeleteConfirmDlgWindow(wxWindow* parent, const std::string& title)
{
    RegisterFavoritesResourceIds();
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "IDD_DELETE_CONFIRM"))
        return;
    wxTextCtrl* field = titleField();
    field->ChangeValue(From1251(TitleOnOneLine(title)));
    // The start of the title is what tells the favourites apart.
    field->SetInsertionPoint(0);
    // A question that waits for an answer, as the toolkit's message boxes are.
    ReadAsAlert(this);
    FindWindow(wxID_OK)->SetFocus();
}

wxTextCtrl* CDeleteConfirmDlgWindow::titleField() const
{
    return dynamic_cast<wxTextCtrl*>(FindWindow(ID_DELETE_TITLE));
}

int CDeleteConfirmDlg::DoModal(wxWindow* parent)
{
    CDeleteConfirmDlgWindow dialog(parent, title);
    if (!dialog.titleField())
        return wxID_CANCEL;
    return dialog.ShowModal();
}
