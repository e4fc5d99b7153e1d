// SPDX-License-Identifier: GPL-3.0-or-later
// The program's document: it holds no data and exists for its title and the
// update hint its views receive.
#pragma once

#include <wx/docview.h>

class CQuillboxDoc : public wxDocument {
public:
    CQuillboxDoc() = default;

    /// Sets the title "Работа с оглавлением" and sends hint 1 to all views.
    bool OnNewDocument() override;

    void OnChangedViewList() override;

    /// The window caption: the document title, " - " and the program title.
    wxString Caption() const;

    /// Nothing is ever read or written: the document has no content.
    bool DoSaveDocument(const wxString&) override { return true; }
    bool DoOpenDocument(const wxString&) override { return true; }

private:
    wxDECLARE_DYNAMIC_CLASS(CQuillboxDoc);
};

/// "Quillbox": the window title.
extern const char* const kWindowTitle;
