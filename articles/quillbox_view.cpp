#include "articles/quillbox_view.h"

#include "app/main_frame.h"
#include "app/pane_link.h"
#include "app/quillbox_doc.h"

CQuillboxView::CQuillboxView(CMainFrame* frame) : frame(frame) {}

CQuillboxView::~CQuillboxView()
{
    frame->articleView = nullptr;
}

bool CQuillboxView::Create(wxWindow* parent, const wxSize& size)
{
    if (!wxWindow::Create(parent, wxID_ANY, wxDefaultPosition, size, wxBORDER_SUNKEN | wxWANTS_CHARS))
        return false;
    SetBackgroundColour(*wxWHITE);
    link = std::make_unique<CPaneLink>(frame->document(), [this](long hint) { OnDocumentUpdate(hint); });
    frame->articleView = this;
    return true;
}

void CQuillboxView::OnDocumentUpdate(long)
{
    Refresh();
}

void CQuillboxView::OpenSelected(int)
{
}
