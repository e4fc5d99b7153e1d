// SPDX-License-Identifier: GPL-3.0-or-later
// The window tests run inside one wx application under the (virtual) display.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/evtloop.h>

#include "gui/frame/quillbox_app.h"

namespace {

class TestApp : public wxApp {
public:
    bool OnInit() override
    {
        InitProgramResources();
        return true;
    }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(TestApp);

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    int result = 0;
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator active(&loop);
        result = RUN_ALL_TESTS();
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
