// SPDX-License-Identifier: GPL-3.0-or-later
// The section dialog: a combo box with every section name, OK and Cancel.
#include "gui/favorites/section_dlg.h"

#include <algorithm>

#include <wx/combobox.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "gui/favorites/favorites_ids.h"
#include "platform/wx/fill_items.h"
#include "platform/wx/spoken_names.h"
#include "platform/wx/wx_text.h"

namespace {

constexpr std::size_t kMostListedSections = 5000;

}  // namespace

CSectionDlgWindow::CSectionDlgWindow(wxWindow* parent, const std::string& name, const FavoritesStore& store)
{
    RegisterFavoritesResourceIds();
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "IDD_SECTION"))
        return;
    ReadAsDialog(this);
    wxComboBox* box = combo();
    for (wxWindow* child : GetChildren())
        if (auto* label = dynamic_cast<wxStaticText*>(child))
            LabelForScreenReaders(box, label);
    // The name goes in while the list is still empty, so it shows as typed
    // text and selects no entry.
    box->ChangeValue(From1251(name));
    // The drop-down lists the first sections; any other is chosen by typing
    // its name. Beyond a few thousand rows the desktop's menu takes seconds
    // to build, minutes for hundreds of thousands, and answers no signal.
    const std::size_t listed = std::min(store.sections.size(), kMostListedSections);
    wxArrayString names;
    names.reserve(listed);
    for (std::size_t i = 0; i < listed; ++i)
        names.Add(From1251(store.sections[i].name));
    AppendAllAtOnce(box, names);
    box->SetFocus();
    // A name the favourites file cannot hold keeps the dialog open.
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent& event) {
            if (AcceptOnly1251(combo()->GetValue(), this))
                event.Skip();
        },
        wxID_OK);
}

CSectionDlgWindow::~CSectionDlgWindow()
{
    ClearAllAtOnce(combo());
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
