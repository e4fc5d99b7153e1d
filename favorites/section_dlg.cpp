// The section dialog: a combo box with every section name, OK and Cancel.
#include "favorites/section_dlg.h"

#include <wx/combobox.h>
#include <wx/xrc/xmlres.h>

#include "favorites/favorites_ids.h"
#include "platform/wx/wx_text.h"

CSectionDlgWindow::CSectionDlgWindow(wxWindow* parent, const std::string& name, const FavoritesStore& store)
{
    RegisterFavoritesResourceIds();
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "IDD_SECTION"))
        return;
    wxComboBox* box = combo();
    // The name goes in while the list is still empty, so it shows as typed
    // text and selects no entry.
    box->ChangeValue(From1251(name));
    // One append for all names: one at a time took minutes for 20 000.
    wxArrayString names;
    names.reserve(store.sections.size());
    for (const TSelectedFolder& section : store.sections)
        names.Add(From1251(section.name));
    box->Append(names);
    box->SetFocus();
}

wxComboBox* CSectionDlgWindow::combo() const
{
    return dynamic_cast<wxComboBox*>(FindWindow(ID_SECTION_NAME));
}

int CSectionDlg::DoModal(wxWindow* parent, const FavoritesStore& store)
{
    CSectionDlgWindow dialog(parent, chosenName, store);
    if (!dialog.combo())
        return wxID_CANCEL;
    const int result = dialog.ShowModal();
    if (result == wxID_OK)
        chosenName = To1251(dialog.combo()->GetValue());
    return result;
}
