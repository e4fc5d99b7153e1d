// SPDX-License-Identifier: GPL-3.0-or-later
// The real program driven by keys alone: choose an issue, walk its articles,
// open one, add it to a section and remove it again from the favourites.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/favorites/favorites_store.h"
#include "support/hang_limit.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

static bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

/// Waits until the shell condition holds, for as long as a hang is allowed.
static bool WaitFor(const std::string& condition)
{
    return Shell("timeout " + std::to_string(kHangMs / 1000) + " sh -c 'until " + condition + "; do sleep 0.05; done'");
}

/// The condition that process `pid` shows `count` windows: its main window and the dialogs over it.
static std::string Windows(pid_t pid, int count)
{
    return "[ $(xdotool search --onlyvisible --pid " + std::to_string(pid) + " --class vestrels | wc -l) -eq " +
           std::to_string(count) + " ]";
}

/// Presses the keys one after another, each given time to take effect.
static bool Press(const std::string& keys) { return Shell("xdotool key --delay 400 " + keys + " && sleep 0.4"); }

TEST(KeyboardPath, ChooseOpenAddAndRemoveAnArticleWithKeysOnly)
{
    PrivateProfile profile;
    TempDir work;
    // A heading first, for the cursor to pass over.
    work.Write("izone5/frame/left.htm", "<li>Part one</li>\r\n<li><a href=\"../text/a1.htm\">First</a></li>\r\n"
                                        "<li><a href=\"../text/a2.htm\">Second</a></li>\r\n");
    // The desktop's opener is replaced by one that notes what it is given.
    profile.dir().Write("bin/xdg-open", "#!/bin/sh\necho \"$1\" >>\"$(dirname \"$0\")/opened.txt\"\n");
    ASSERT_TRUE(Shell("chmod 700 " + profile.dir().Join("bin/xdg-open")));
    profile.dir().MakeFolder("cwd");
    StoreSetting("Journals", platform::registry::ValueType::Sz, work.path() + "/*");
    StoreSetting("Size", platform::registry::ValueType::Sz, "0 0 800 600");
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("GSETTINGS_BACKEND", "memory", 1);
        setenv("PATH", (profile.dir().Join("bin") + ":" + std::getenv("PATH")).c_str(), 1);
        if (chdir(profile.dir().Join("cwd").c_str()) == 0)
            execl(VESTRELS_PROGRAM_PATH, "vestrels", static_cast<char*>(nullptr));
        _exit(127);
    }
    // The one click, on the tab "Оглавление"; then the issue list, its issue, and the cursor
    // past the heading and back to the first article, which Enter opens.
    ASSERT_TRUE(WaitFor(Windows(pid, 1)) && Shell("sleep 0.8 && xdotool mousemove --sync --window $(xdotool search "
                                                   "--onlyvisible --pid " + std::to_string(pid) +
                                                   " --class vestrels | head -1) 60 86 click 1 && sleep 0.4"));
    const std::string opened = profile.dir().Join("bin/opened.txt");
    ASSERT_TRUE(Press("Tab Down Tab Tab shift+Tab Return") && WaitFor("[ -e " + opened + " ]"));
    EXPECT_EQ(profile.dir().Read("bin/opened.txt"), work.Join("izone5/text/a1.htm") + "\n");

    const std::string file = profile.dir().Join("cwd/SelFold.dat");
    ASSERT_TRUE(Press("shift+F10") && WaitFor(Windows(pid, 2)) && Press("K e y s Return"));
    ASSERT_TRUE(WaitFor("[ -e " + file + " ]"));
    const FavoritesStore added = ParseFavorites(profile.dir().Read("cwd/SelFold.dat"));
    ASSERT_TRUE(added.sections.size() == 1 && added.sections[0].articles.size() == 1);
    EXPECT_EQ(added.sections[0].name + "/" + added.sections[0].articles[0].title, "Keys/     First");
    EXPECT_TRUE(added.sections[0].articles[0].link.ends_with("\\izone5\\text\\a1.htm"));

    // Out of the view and the list to the tabs, over to "Избранное", into its list, its
    // section chosen, the cursor on its favourite: Delete asks, Enter confirms.
    ASSERT_TRUE(WaitFor(Windows(pid, 1)) && Press("Home shift+Tab shift+Tab Right Right") &&
                Press("Tab Down Tab Delete") && WaitFor(Windows(pid, 2)) && Press("Return"));
    // The empty store is four bytes: no section.
    EXPECT_TRUE(WaitFor("[ $(stat -c %s " + file + ") -eq 4 ]"));
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}
