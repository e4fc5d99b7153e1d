// SPDX-License-Identifier: GPL-3.0-or-later
// The real program driven by keys alone, as a reader without a mouse uses
// it: choose an issue, walk its articles, open one, add it to a section and
// remove it again from the favourites.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "app/settings_store.h"
#include "favorites/favorites_store.h"
#include "gui/gui_support.h"
#include "platform/registry.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace {

bool WaitUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kHangMs);
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return done();
}

int Shell(const std::string& command)
{
    return std::system(command.c_str());
}

/// True once process `pid` shows exactly `count` windows: its main window
/// and the dialogs over it.
bool WaitForWindows(pid_t pid, int count)
{
    const std::string windows = "xdotool search --onlyvisible --pid " + std::to_string(pid) + " --class vestrels";
    return WaitUntil([&] { return Shell("test $(" + windows + " | wc -l) -eq " + std::to_string(count)) == 0; });
}

/// Presses the keys one after another, with time for each to take effect.
void Press(const std::string& keys)
{
    ASSERT_EQ(Shell("xdotool key --delay 400 " + keys), 0) << keys;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
}

}  // namespace

TEST(KeyboardPath, ChooseOpenAddAndRemoveAnArticleWithKeysOnly)
{
    PrivateProfile profile;
    TempDir work;
    // A heading first, so that the cursor has one to pass over.
    work.Write("izone5/frame/left.htm", "<li>Part one</li>\r\n"
                                        "<li><a href=\"../text/a1.htm\">First article</a></li>\r\n"
                                        "<li><a href=\"../text/a2.htm\">Second article</a></li>\r\n");
    work.Write("izone5/text/a1.htm", "one");
    work.Write("izone5/text/a2.htm", "two");
    // The desktop's opener is replaced by one that notes what it was given.
    profile.dir().Write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >>\"$(dirname \"$0\")/opened.txt\"\n");
    std::filesystem::permissions(profile.dir().Join("bin/xdg-open"), std::filesystem::perms::owner_all);
    profile.dir().MakeFolder("cwd");
    StoreSetting("Journals", platform::registry::ValueType::Sz, work.path() + "/*");
    StoreSetting("Size", platform::registry::ValueType::Sz, "0 0 800 600");

    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(profile.dir().Join("cwd").c_str()) != 0)
            _exit(126);
        setenv("GSETTINGS_BACKEND", "memory", 1);
        setenv("LC_ALL", "C.UTF-8", 1);
        setenv("PATH", (profile.dir().Join("bin") + ":" + std::getenv("PATH")).c_str(), 1);
        execl(VESTRELS_PROGRAM_PATH, "vestrels", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitForWindows(pid, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    // The one click: the tab "Оглавление" takes the focus.
    ASSERT_EQ(Shell("xdotool mousemove --sync --window $(xdotool search --onlyvisible --pid " + std::to_string(pid) +
                    " --class vestrels | head -1) 60 86 click 1"),
              0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));

    // Into the issue list, choose the issue, then walk past the heading and
    // back: the cursor is on the first article when Enter opens it.
    Press("Tab Down Tab Tab shift+Tab Return");
    const std::string opened = profile.dir().Join("bin/opened.txt");
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(opened); }));
    EXPECT_EQ(profile.dir().Read("bin/opened.txt"), work.Join("izone5/text/a1.htm") + "\n");

    Press("shift+F10");
    ASSERT_TRUE(WaitForWindows(pid, 2));
    Press("K e y s Return");
    const std::string file = profile.dir().Join("cwd/SelFold.dat");
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(file); }));
    const FavoritesStore added = ParseFavorites(profile.dir().Read("cwd/SelFold.dat"));
    ASSERT_EQ(added.sections.size(), 1u);
    EXPECT_EQ(added.sections[0].name, "Keys");
    ASSERT_EQ(added.sections[0].articles.size(), 1u);
    EXPECT_EQ(added.sections[0].articles[0].title, "     First article");
    EXPECT_TRUE(added.sections[0].articles[0].link.ends_with("\\izone5\\text\\a1.htm"))
        << added.sections[0].articles[0].link;

    // Back out of the view and the list to the tabs, over to "Избранное",
    // into its list, choose the section, put the cursor on its favourite.
    ASSERT_TRUE(WaitForWindows(pid, 1));
    Press("Home shift+Tab shift+Tab Right Right");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Press("Tab Down Tab Delete");
    ASSERT_TRUE(WaitForWindows(pid, 2));
    Press("Return");
    EXPECT_TRUE(WaitUntil([&] { return ParseFavorites(profile.dir().Read("cwd/SelFold.dat")).sections.empty(); }));

    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(profile.dir().Read("bin/opened.txt"), work.Join("izone5/text/a1.htm") + "\n");
}
