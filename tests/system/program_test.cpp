// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a process: a termination signal ends it like the close
// box, with the favourites and the placement stored.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "core/settings/settings_store.h"
#include "core/favorites/favorites_store.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "support/hang_limit.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

using namespace std::string_literals;
namespace reg = platform::registry;

namespace {

pid_t StartProgram(const std::string& cwd, const std::string& errorFile = "")
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0)
            _exit(126);
        if (!errorFile.empty() && !freopen(errorFile.c_str(), "w", stderr))
            _exit(126);
        // Without a session bus the file chooser would retry storing its
        // settings all the time.
        setenv("GSETTINGS_BACKEND", "memory", 1);
        setenv("LC_ALL", "C.UTF-8", 1);
        execl(VESTRELS_PROGRAM_PATH, "vestrels", static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

/// Waits until the process shows its window (a settings value would not do:
/// a former run may have stored it), then a little more for the window to be
/// laid out.
void WaitUntilShown(pid_t pid)
{
    const std::string search =
        "xdotool search --onlyvisible --pid " + std::to_string(pid) + " --class vestrels >/dev/null 2>&1";
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kHangMs);
    while (std::system(search.c_str()) != 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
}

/// Waits for the process to end; its exit status, or -1 after `seconds`.
int WaitFor(pid_t pid, int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

}  // namespace

TEST(Program, TermSignalClosesTheWindowAndStoresPlacementAndFavourites)
{
    PrivateProfile profile;
    TempDir work;
    work.Write("izone57/frame/left.htm", "<li><a href=\"a.htm\">First</a></li>\r\n");
    profile.dir().MakeFolder("cwd");
    {
        auto key = reg::CreateKey(kSettingsKey);
        ASSERT_TRUE(key);
        reg::SetValue(*key, "Journals", reg::ValueType::Sz, work.path() + "/*");
    }

    const pid_t pid = StartProgram(profile.dir().Join("cwd"), profile.dir().Join("stderr.txt"));
    ASSERT_GT(pid, 0);
    WaitUntilShown(pid);
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(WaitFor(pid, kHangMs / 1000), 0);
    // A start and an end leave the terminal without the framework's debug talk.
    const std::string errors = profile.dir().Read("stderr.txt");
    EXPECT_EQ(errors.find("Debug:"), std::string::npos) << errors;

    EXPECT_EQ(StoredSetting("NumNameJournals"), "\x05\0\0\0"s);
    EXPECT_EQ(StoredSetting("NameJournals"), "release\0release\0gold\0izone\0ProtoPlex\0\0\0"s);
    EXPECT_EQ(StoredSetting("NewName"), "InternetZone\0InternetZone\0InternetZone\0InternetZone\0ProtoPlex\0\0\0"s);
    const Placement placement = settings::ParsePlacement(StoredSetting("Size"));
    EXPECT_GT(placement.width, 100);
    EXPECT_GT(placement.height, 100);
    // No favourites, no file: the folder gets nothing it did not ask for.
    EXPECT_FALSE(std::filesystem::exists(profile.dir().Join("cwd/SelFold.dat")));
}

TEST(Program, StoredPlacementAndSplitComeBackUnchanged)
{
    PrivateProfile profile;
    TempDir work;
    work.Write("izone57/frame/left.htm", "<li><a href=\"a.htm\">First</a></li>\r\n");
    profile.dir().MakeFolder("cwd");
    {
        auto key = reg::CreateKey(kSettingsKey);
        reg::SetValue(*key, "Journals", reg::ValueType::Sz, work.path() + "/*");
        reg::SetValue(*key, "Size", reg::ValueType::Sz, "40 60 700 500");
        reg::SetValue(*key, "LeftShare", reg::ValueType::Sz, "3.000000");
        reg::SetValue(*key, "Toolbar", reg::ValueType::Sz, "01");
    }
    for (int run = 0; run < 2; ++run) {
        const pid_t pid = StartProgram(profile.dir().Join("cwd"));
        WaitUntilShown(pid);
        kill(pid, SIGTERM);
        ASSERT_EQ(WaitFor(pid, kHangMs / 1000), 0);
        EXPECT_EQ(StoredSetting("Size"), "40 60 700 500") << "run " << run;
        const double ratio = std::stod(StoredSetting("LeftShare"));
        EXPECT_NEAR(ratio, 3.0, 0.02) << "run " << run;
    }
}

namespace {

/// The output of a shell command, line by line.
std::vector<std::string> OutputLines(const std::string& command)
{
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return lines;
    char line[512];
    while (fgets(line, sizeof line, pipe)) {
        std::string text(line);
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        lines.push_back(text);
    }
    pclose(pipe);
    return lines;
}

/// The titles of the program's visible windows (`xdotool` and `xprop` read
/// them off the display).
std::vector<std::string> VisibleWindowTitles()
{
    return OutputLines("for w in $(xdotool search --onlyvisible --class vestrels 2>/dev/null); do "
                       "xprop -id $w _NET_WM_NAME 2>/dev/null | sed -n 's/^[^=]*= \"\\(.*\\)\"$/\\1/p'; done");
}

/// Width and height of the main window on the display.
std::vector<std::string> MainWindowSize()
{
    return OutputLines("w=$(xdotool search --onlyvisible --class vestrels | head -1); "
                       "xdotool getwindowgeometry --shell $w | grep -E '^(WIDTH|HEIGHT)='");
}

testing::AssertionResult WaitForWindow(const std::string& title, int seconds = kHangMs / 1000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<std::string> shown;
    while (std::chrono::steady_clock::now() < end) {
        shown = VisibleWindowTitles();
        for (const std::string& window : shown)
            if (window.find(title) != std::string::npos)
                return testing::AssertionSuccess();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    testing::AssertionResult failure = testing::AssertionFailure() << "no window \"" << title << "\" among:";
    for (const std::string& window : shown)
        failure << " \"" << window << "\"";
    return failure;
}

/// Types keys into the program's (first) window, as a user at the keyboard
/// would.
void TypeIntoMainWindow(const std::string& keys)
{
    const std::string command = "w=$(xdotool search --onlyvisible --class vestrels | head -1); "
                                "xdotool windowfocus --sync $w " + keys;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace

// A signal while a dialog is up used to close the frame inside the dialog's
// loop: the program then hung until the dialog was answered and crashed.
TEST(Program, TermSignalWithADialogUpEndsTheProgramAndKeepsTheData)
{
    const struct {
        const char* name;
        bool libraryStored;    ///< else the first start asks for the folder
        bool contentsMissing;  ///< the start reports the missing contents page
        const char* keys;      ///< typed into the running program
        const char* dialog;    ///< the title to wait for
        int status;            ///< 0: closed as by the close box
        bool removeWork = false;  ///< the journals' folder vanishes once the window is up
    } cases[] = {
        {"first-start folder browser", false, false, "", "Выберите папку с номерами журналов", 128 + SIGTERM},
        {"start-up message", true, true, "", "Ошибка открытия файла", 128 + SIGTERM},
        {"Ctrl+O", true, false, "key ctrl+o", "Open", 0},
        {"working directory", true, false, "key F10 sleep 0.3 key Right sleep 0.3 key Down sleep 0.3 key Return",
         "Выберите папку с номерами журналов", 0},
        // The cancelled browser used to lead to a rebuild that asked five
        // more times for a folder and then ended the program with status 1.
        {"working directory of a vanished collection", true, false,
         "key F10 sleep 0.3 key Right sleep 0.3 key Down sleep 0.3 key Return", "Выберите папку с номерами журналов",
         0, true},
    };
    FavoritesStore favorites;
    favorites.sections.push_back({"Раздел", {{"Статья", "C:\\a.htm"}}});
    const std::string favoritesBytes = SerializeFavorites(favorites);

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PrivateProfile profile;
        TempDir work;
        if (c.contentsMissing)
            work.MakeFolder("izone57");
        else
            work.Write("izone57/frame/left.htm", "<li><a href=\"a.htm\">First</a></li>\r\n");
        profile.dir().Write("cwd/SelFold.dat", favoritesBytes);
        // In the program's own form, which a cancelled folder browser stores again.
        const std::string journals = platform::paths::FromHost(work.path()) + "\\*";
        if (c.libraryStored)
            StoreSetting("Journals", reg::ValueType::Sz, journals);

        const pid_t pid = StartProgram(profile.dir().Join("cwd"), profile.dir().Join("stderr.txt"));
        ASSERT_GT(pid, 0);
        if (c.keys[0] != '\0') {
            ASSERT_TRUE(WaitForWindow("Quillbox"));
            if (c.removeWork)
                std::filesystem::remove_all(work.path());
            TypeIntoMainWindow(c.keys);
        }
        ASSERT_TRUE(WaitForWindow(c.dialog));
        ASSERT_EQ(kill(pid, SIGTERM), 0);
        EXPECT_EQ(WaitFor(pid, kHangMs / 1000), c.status);

        const std::string errors = profile.dir().Read("stderr.txt");
        EXPECT_EQ(errors.find("Unhandled"), std::string::npos) << errors;
        EXPECT_EQ(errors.find("Segmentation"), std::string::npos) << errors;
        EXPECT_EQ(profile.dir().Read("cwd/SelFold.dat"), favoritesBytes);
        EXPECT_EQ(StoredSetting("Journals"), c.libraryStored ? journals : "<missing>");
        // Only a program that got to close its window stores its placement.
        EXPECT_EQ(StoredSetting("Size") != "<missing>", c.status == 0);
    }
}

// Timer 1 used to run inside a start-up message box: it measured a toolbar
// that was not laid out yet and moved a frame that was not on screen.
TEST(Program, StartUpMessageDoesNotSpoilTheBarsOrThePlacement)
{
    std::vector<std::string> sizes[2];
    for (const bool withMessage : {false, true}) {
        SCOPED_TRACE(withMessage ? "with a start-up message" : "without");
        PrivateProfile profile;
        TempDir work;
        work.Write("izone57/frame/left.htm", "<li><a href=\"a.htm\">First</a></li>\r\n");
        if (withMessage)
            work.MakeFolder("izone58");
        StoreSetting("Journals", reg::ValueType::Sz, work.path() + "/*");
        StoreSetting("Size", reg::ValueType::Sz, "100 100 700 500");
        StoreSetting("Toolbar", reg::ValueType::Sz, "01");
        profile.dir().MakeFolder("cwd");

        const pid_t pid = StartProgram(profile.dir().Join("cwd"));
        ASSERT_GT(pid, 0);
        if (withMessage) {
            ASSERT_TRUE(WaitForWindow("Ошибка открытия файла"));
            // Long enough for the old timer to have fired inside the box.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            TypeIntoMainWindow("key Return");
        }
        ASSERT_TRUE(WaitForWindow("Quillbox"));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        sizes[withMessage] = MainWindowSize();
        kill(pid, SIGTERM);
        ASSERT_EQ(WaitFor(pid, kHangMs / 1000), 0);
        EXPECT_EQ(StoredSetting("Size"), "100 100 700 500");
    }
    EXPECT_EQ(sizes[1], sizes[0]);
    EXPECT_EQ(sizes[0].size(), 2u);
}
