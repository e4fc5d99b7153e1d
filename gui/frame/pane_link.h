// SPDX-License-Identifier: GPL-3.0-or-later
// Connects a pane window to the document, so that the document's update
// hints reach it through the framework's view list.
#pragma once

#include <functional>

#include <wx/docview.h>

/// The hint the document sends after its new-document step.
constexpr long kHintNewDocument = 1;

class CPaneLink : public wxView {
public:
    using UpdateHandler = std::function<void(long hint)>;
    CPaneLink(wxDocument* doc, UpdateHandler onUpdate);

    void OnDraw(wxDC*) override {}
    void OnUpdate(wxView* sender, wxObject* hint) override;

private:
    UpdateHandler onUpdate_;
};

/// The hint object that carries a number.
class CUpdateHint : public wxObject {
public:
    explicit CUpdateHint(long value) : value(value) {}
    long value;
};
