// SPDX-License-Identifier: GPL-3.0-or-later
// The program among the user's other desktop programs: the framework's own
// dialogs in the user's language and the program's icon on its windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include <wx/dialog.h>
#include <wx/stockitem.h>
#include <wx/translation.h>

#include "gui/frame/main_frame.h"
#include "gui/gui_support.h"
#include "platform/wx/desktop_setup.h"

// The folder browser said "Cancel" and "Open" in a Russian interface.
TEST(DesktopSetup, FrameworkTextsFollowTheUsersLanguage)
{
    const char* old = std::getenv("LANGUAGE");
    const std::string saved = old ? old : "";
    setenv("LANGUAGE", "ru", 1);
    UseUserLanguage();
    EXPECT_EQ(wxGetTranslation("Cancel"), wxString::FromUTF8("Отмена"));
    EXPECT_EQ(wxGetStockLabel(wxID_OPEN, wxSTOCK_WITHOUT_ELLIPSIS), wxString::FromUTF8("Открыть"));
    if (old)
        setenv("LANGUAGE", saved.c_str(), 1);
    else
        unsetenv("LANGUAGE");
    wxTranslations::Set(nullptr);
}

TEST(DesktopSetup, MainWindowAndDialogsCarryTheProgramIcon)
{
    GuiEnvironment env;
    WriteIssue(env.work, "izone57", "frame\\left.htm", 1);
    env.StoreWorkingDirectory(env.work.path());
    CMainFrame* frame = env.OpenMainWindow();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->GetIcons().GetIconCount(), 4u);  // 16, 32, 48 and 64 px
    // Dialogs, the toolkit's own among them, take the default icon.
    wxDialog dialog(frame, wxID_ANY, "Dialog");
    GdkPixbuf* icon = gtk_window_get_icon(GTK_WINDOW(dialog.GetHandle()));
    GList* defaults = gtk_window_get_default_icon_list();
    EXPECT_TRUE(icon || defaults);
    ASSERT_TRUE(defaults);
    std::vector<int> widths;
    for (GList* item = defaults; item; item = item->next)
        widths.push_back(gdk_pixbuf_get_width(static_cast<GdkPixbuf*>(item->data)));
    EXPECT_EQ(widths, (std::vector<int>{16, 32, 48, 64}));
    g_list_free(defaults);
}
