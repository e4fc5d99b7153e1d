#include "leftpane/page.h"

#include <wx/panel.h>
#include <wx/window.h>
#include <wx/xrc/xmlres.h>

CPage::~CPage()
{
    DestroyWindow();
}

wxWindow* CPage::CreateWindow(wxWindow* parent)
{
    DestroyWindow();
    window_ = wxXmlResource::Get()->LoadPanel(parent, ResourceName());
    if (!window_)
        return nullptr;
    window_->PushEventHandler(this);
    OnInitPage();
    return window_;
}

void CPage::DestroyWindow()
{
    if (!window_)
        return;
    OnDestroyPage();
    wxWindow* window = window_;
    window_ = nullptr;
    window->PopEventHandler();
    window->Destroy();
}
