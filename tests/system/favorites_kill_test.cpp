// SPDX-License-Identifier: GPL-3.0-or-later
// The real program killed outright: a favourite added through right clicks
// is in "SelFold.dat" already, and the next run reads it back.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <memory>
#include <vector>

#include "core/settings/settings_store.h"
#include "core/favorites/favorites_store.h"
#include "platform/registry.h"
#include "support/hang_limit.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

using namespace std::string_literals;
namespace reg = platform::registry;

namespace {

pid_t StartProgram(const std::string& cwd)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0)
            _exit(126);
        setenv("GSETTINGS_BACKEND", "memory", 1);
        setenv("LC_ALL", "C.UTF-8", 1);
        execl(VESTRELS_PROGRAM_PATH, "vestrels", static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

/// True once `done` holds, polling for up to `ms` milliseconds.
bool WaitUntil(const std::function<bool()>& done, int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(ms, kHangMs));
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return done();
}

int Shell(const std::string& command)
{
    return std::system(command.c_str());
}

/// True once process `pid` shows `count` windows: its main window and the
/// dialogs over it.
bool WaitForWindows(pid_t pid, int count)
{
    const std::string windows = "xdotool search --onlyvisible --pid " + std::to_string(pid) + " --class vestrels";
    return WaitUntil([&] { return Shell("test $(" + windows + " | wc -l) -ge " + std::to_string(count)) == 0; },
                     10000);
}

/// Clicks with `button` at (x, y) of the main window of process `pid` (any
/// when 0).
void ClickInWindow(int x, int y, int button, pid_t pid = 0)
{
    const std::string which = pid ? " --pid " + std::to_string(pid) : "";
    ASSERT_EQ(Shell("w=$(xdotool search --onlyvisible" + which + " --class vestrels | head -1) && "
                    "xdotool mousemove --sync --window $w " + std::to_string(x) + " " + std::to_string(y) +
                    " click " + std::to_string(button)),
              0);
}

std::string Int32(std::int32_t value)
{
    std::string out;
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((static_cast<std::uint32_t>(value) >> shift) & 0xFF));
    return out;
}

}  // namespace

TEST(FavoritesKill, FavouriteAddedByRightClickSurvivesSigkillAndComesBackInTheNextRun)
{
    PrivateProfile profile;
    TempDir work;
    // Many issues, all alike, so a click anywhere in the list chooses one;
    // a first title long enough to fill the view's upper half.
    std::string title;
    for (int i = 0; i < 80; ++i)
        title += (i ? " Word" : "Word") + std::to_string(i);
    for (int i = 1; i <= 30; ++i)
        work.Write("izone" + std::to_string(i) + "/frame/left.htm",
                   "<li><a href=\"a1.htm\">" + title + "</a></li>\r\n<li><a href=\"a2.htm\">Next</a></li>\r\n");
    profile.dir().MakeFolder("cwd");
    {
        auto key = reg::CreateKey(kSettingsKey);
        ASSERT_TRUE(key);
        reg::SetValue(*key, "Journals", reg::ValueType::Sz, work.path() + "/*");
        reg::SetValue(*key, "Size", reg::ValueType::Sz, "0 0 800 600");
        reg::SetValue(*key, "LeftShare", reg::ValueType::Sz, "2.000000");
    }
    const std::string file = profile.dir().Join("cwd/SelFold.dat");
    const auto fileHas = [&](const std::string& text) {
        return std::filesystem::exists(file) && profile.dir().Read("cwd/SelFold.dat").find(text) != std::string::npos;
    };

    const pid_t first = StartProgram(profile.dir().Join("cwd"));
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitUntil([] { return Shell("xdotool search --onlyvisible --class vestrels >/dev/null") == 0; },
                          10000));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ClickInWindow(100, 200, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ClickInWindow(600, 200, 3);
    ASSERT_TRUE(WaitForWindows(first, 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(Shell("xdotool type Kept && xdotool key Return"), 0);
    const bool saved = WaitUntil([&] { return fileHas("Kept"); }, 5000);
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    ASSERT_TRUE(saved);

    // The layout exactly: one section, one record, the link inside the
    // issue that was chosen.
    const std::string bytes = profile.dir().Read("cwd/SelFold.dat");
    const FavoritesStore store = ParseFavorites(bytes);
    ASSERT_EQ(store.sections.size(), 1u);
    ASSERT_EQ(store.sections[0].articles.size(), 1u);
    const std::string& link = store.sections[0].articles[0].link;
    std::string workInternal = work.path();
    for (char& c : workInternal)
        if (c == '/')
            c = '\\';
    EXPECT_TRUE(link.starts_with(workInternal + "\\izone") && link.ends_with("\\a1.htm")) << link;
    EXPECT_EQ(bytes, Int32(1) + Int32(1) + "Kept\r\n" + "     " + title + std::string("\r\n\0\r\n", 5) + link + "\r\n");

    // The next run loads it and, ended normally, writes the same bytes back.
    const pid_t second = StartProgram(profile.dir().Join("cwd"));
    ASSERT_GT(second, 0);
    ASSERT_TRUE(WaitUntil([] { return Shell("xdotool search --onlyvisible --class vestrels >/dev/null") == 0; },
                          10000));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    kill(second, SIGTERM);
    int status = 0;
    waitpid(second, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(profile.dir().Read("cwd/SelFold.dat"), bytes);
}

namespace {

/// How the two copies end: which one goes first, and whether it is killed
/// right after its favourite was saved (before the other adds its own).
struct TwoCopiesCase {
    const char* name;
    int firstToEnd;
    bool killed;
};

class TwoCopiesTest : public ::testing::TestWithParam<TwoCopiesCase> {};

TEST_P(TwoCopiesTest, FavouriteAddedInEachSurvivesBothExits)
{
    const TwoCopiesCase& c = GetParam();
    TempDir work;
    // As above: a click anywhere in the list or the view's upper half hits.
    std::string title;
    for (int i = 0; i < 80; ++i)
        title += " Word" + std::to_string(i);
    for (int i = 1; i <= 30; ++i)
        work.Write("izone" + std::to_string(i) + "/frame/left.htm", "<li><a href=\"a1.htm\">" + title + "</a></li>\r\n");
    work.MakeFolder("cwd");
    // Each copy has its own settings, so the two windows lie side by side.
    std::vector<std::unique_ptr<PrivateProfile>> profiles;
    pid_t copies[2];
    for (int i = 0; i < 2; ++i) {
        profiles.push_back(std::make_unique<PrivateProfile>());
        StoreSetting("Journals", reg::ValueType::Sz, work.path() + "/*");
        StoreSetting("Size", reg::ValueType::Sz, std::to_string(640 * i) + " 0 630 600");
        StoreSetting("LeftShare", reg::ValueType::Sz, "2.000000");
        copies[i] = StartProgram(work.Join("cwd"));
        ASSERT_GT(copies[i], 0);
        ASSERT_TRUE(WaitUntil([&] {
            return Shell("xdotool search --onlyvisible --pid " + std::to_string(copies[i]) + " >/dev/null") == 0;
        }, 10000));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const std::string file = work.Join("cwd/SelFold.dat");
    const auto fileHas = [&](const std::string& text) {
        return std::filesystem::exists(file) && work.Read("cwd/SelFold.dat").find(text) != std::string::npos;
    };
    const auto end = [&](int i, int signal) {
        kill(copies[i], signal);
        int status = 0;
        waitpid(copies[i], &status, 0);
        return signal == SIGKILL || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
    };
    const std::string names[2] = {"FromOne", "FromTwo"};
    for (int i = 0; i < 2; ++i) {
        ClickInWindow(100, 200, 1, copies[i]);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ClickInWindow(470, 200, 3, copies[i]);
        ASSERT_TRUE(WaitForWindows(copies[i], 2));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ASSERT_EQ(Shell("xdotool type " + names[i] + " && xdotool key Return"), 0);
        ASSERT_TRUE(WaitUntil([&] { return fileHas(names[i]); }, 5000)) << names[i];
        if (c.killed && i == c.firstToEnd) {
            EXPECT_TRUE(end(i, SIGKILL));
        }
    }
    if (!c.killed) {
        EXPECT_TRUE(end(c.firstToEnd, SIGTERM));
    }
    EXPECT_TRUE(end(1 - c.firstToEnd, SIGTERM));

    const FavoritesStore store = ParseFavorites(work.Read("cwd/SelFold.dat"));
    ASSERT_EQ(store.sections.size(), 2u);
    EXPECT_EQ(store.sections[0].name, names[0]);
    EXPECT_EQ(store.sections[1].name, names[1]);
    EXPECT_EQ(Shell("cd " + work.Join("cwd") + " && " VESTRELS_CLI_PATH " favorites >/dev/null"), 0);
}

INSTANTIATE_TEST_SUITE_P(Orders, TwoCopiesTest,
                         ::testing::Values(TwoCopiesCase{"FirstEndsFirst", 0, false},
                                           TwoCopiesCase{"SecondEndsFirst", 1, false},
                                           TwoCopiesCase{"FirstKilledBeforeTheSecondAdds", 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
