// SPDX-License-Identifier: GPL-3.0-or-later
// A save of the favourites that fails (a full disk, injected through the
// platform layer) is reported in a message box that names the file, and the
// old file stays as it was.
#include <gtest/gtest.h>

#include <wx/msgdlg.h>

#include "gui/frame/main_frame.h"
#include "gui/gui_support.h"
#include "gui/leftpane/left_view.h"
#include "platform/files.h"
#include "support/failing_save_calls.h"

namespace {

class ExpectSaveFailure : public wxExpectModalBase<wxMessageDialog, ExpectSaveFailure> {
protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        EXPECT_NE(dialog->GetMessage().Find("SelFold.dat"), wxNOT_FOUND) << dialog->GetMessage();
        return wxID_OK;
    }
};

}  // namespace

TEST(SaveFailure, FullDiskWhileSavingFavouritesIsReportedAndKeepsTheFile)
{
    GuiEnvironment env;
    WriteIssue(env.work, "izone57", "frame\\left.htm", 2);
    env.StoreWorkingDirectory(env.work.path());
    ASSERT_TRUE(env.OpenMainWindow());
    ReaderSession& contents = env.frame->session();
    const auto add = [&](const char* name) {
        contents.ChangeFavorites([name](FavoritesStore& store) { store.sections.push_back({name, {{"T", "C:\\a.htm", kMarkPlain, {}}}}); });
    };
    add("First");
    const std::string before = env.profile.dir().Read("cwd/SelFold.dat");

    {
        FullDisk full;
        wxTEST_DIALOG(add("Second"), ExpectSaveFailure());
    }
    EXPECT_EQ(contents.favorites().sections.size(), 2u);
    EXPECT_EQ(env.profile.dir().Read("cwd/SelFold.dat"), before);
}
