// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/leftpane/page.h"

#include <algorithm>

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

void CPage::FitInside(wxWindow* control) const
{
    constexpr int kMargin = 10;
    if (!control || !window_)
        return;
    const wxSize size = window_->GetClientSize();
    control->SetSize(kMargin, kMargin, std::max(0, size.x - 2 * kMargin), std::max(0, size.y - 2 * kMargin));
    control->Refresh();
}
