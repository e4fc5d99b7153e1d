// The "Поиск" tab's page.
#pragma once

#include "leftpane/page.h"

class CSearchPage : public CPage {
public:
    using CPage::CPage;

    /// A result row is chosen: "Читать" opens its issue.
    bool resultSelected = false;

protected:
    const char* ResourceName() const override { return "IDD_SEARCH_PAGE"; }
    void OnDestroyPage() override { resultSelected = false; }
};
