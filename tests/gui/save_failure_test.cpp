// A save of the favourites that fails (a full disk, injected through the
// platform layer) is reported in a message box that names the file, and the
// old file stays as it was.
#include <gtest/gtest.h>

#include <wx/msgdlg.h>

#include "app/main_frame.h"
#include "gui/gui_support.h"
#include "leftpane/left_view.h"
#include "platform/files.h"

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
    CContentsPage& contents = env.frame->leftPane->contentsPage;
    ASSERT_TRUE(contents.SaveFavorites());
    const std::string before = env.profile.dir().Read("cwd/SelFold.dat");

    contents.favorites.sections.push_back({"Раздел", {{"Статья", "C:\\a.htm"}}});
    platform::files::SimulateFullDiskForTesting(true);
    bool saved = true;
    wxTEST_DIALOG(saved = contents.SaveFavorites(), ExpectSaveFailure());
    platform::files::SimulateFullDiskForTesting(false);
    EXPECT_FALSE(saved);
    EXPECT_EQ(env.profile.dir().Read("cwd/SelFold.dat"), before);
}
