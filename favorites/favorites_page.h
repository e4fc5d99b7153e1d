// The "Избранное" tab's page.
#pragma once

#include "leftpane/page.h"

class CFavoritesPage : public CPage {
public:
    using CPage::CPage;

    /// A section is chosen: "Читать" is enabled.
    bool sectionChosen = false;

protected:
    const char* ResourceName() const override { return "IDD_FAVORITES_PAGE"; }
    void OnDestroyPage() override { sectionChosen = false; }
};
