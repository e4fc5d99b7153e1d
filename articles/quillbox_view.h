// The right pane: draws the current issue's entries, or a favourites
// section, by itself.
#pragma once

#include <memory>

#include <wx/window.h>

class CMainFrame;
class CPaneLink;

class CQuillboxView : public wxWindow {
public:
    explicit CQuillboxView(CMainFrame* frame);
    ~CQuillboxView() override;

    bool Create(wxWindow* parent, const wxSize& size);

    /// Opens the entry at `position` of what is shown ("Читать").
    void OpenSelected(int position);

    bool issueMode = true;

private:
    CMainFrame* frame;
    std::unique_ptr<CPaneLink> link;

    void OnDocumentUpdate(long hint);
};
