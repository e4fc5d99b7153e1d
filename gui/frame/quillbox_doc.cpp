// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/frame/quillbox_doc.h"

#include "gui/frame/pane_link.h"

const char* const kWindowTitle = "Quillbox";

wxIMPLEMENT_DYNAMIC_CLASS(CQuillboxDoc, wxDocument);

bool CQuillboxDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument())
        return false;
    SetTitle(wxString::FromUTF8("Работа с оглавлением"));
    CUpdateHint hint(kHintNewDocument);
    UpdateAllViews(nullptr, &hint);
    return true;
}

void CQuillboxDoc::OnChangedViewList()
{
    // The framework deletes a document whose last view goes; this one belongs
    // to the application and lives as long as it.
}

wxString CQuillboxDoc::Caption() const
{
    return GetUserReadableName() + " - " + kWindowTitle;
}

CPaneLink::CPaneLink(wxDocument* doc, UpdateHandler onUpdate) : onUpdate_(std::move(onUpdate))
{
    SetDocument(doc);
}

void CPaneLink::OnUpdate(wxView*, wxObject* hint)
{
    if (!onUpdate_)
        return;
    const auto* numbered = dynamic_cast<CUpdateHint*>(hint);
    onUpdate_(numbered ? numbered->value : 0);
}
