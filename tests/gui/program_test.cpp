// The real program as a process: a termination signal ends it like the close
// box, with the favourites and the placement stored.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "app/settings_store.h"
#include "platform/registry.h"
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
        execl(VESTRELS_PROGRAM_PATH, "vestrels", static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

/// Waits until the program has stored its catalogue (while building its
/// window), then a little more for the window to be up.
void WaitUntilStarted()
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (StoredSetting("NumNameJournals") == "<missing>" && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
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

    const pid_t pid = StartProgram(profile.dir().Join("cwd"));
    ASSERT_GT(pid, 0);
    WaitUntilStarted();
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_EQ(WaitFor(pid, 5), 0);

    EXPECT_EQ(StoredSetting("NumNameJournals"), "\x05\0\0\0"s);
    EXPECT_EQ(StoredSetting("NameJournals"), "release\0release\0gold\0izone\0ProtoPlex\0\0\0"s);
    EXPECT_EQ(StoredSetting("NewName"), "InternetZone\0InternetZone\0InternetZone\0InternetZone\0ProtoPlex\0\0\0"s);
    const Placement placement = settings::ParsePlacement(StoredSetting("Size"));
    EXPECT_GT(placement.width, 100);
    EXPECT_GT(placement.height, 100);
    // The empty favourites were saved as the four-byte file.
    EXPECT_EQ(profile.dir().Read("cwd/SelFold.dat"), "\0\0\0\0"s);
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
        WaitUntilStarted();
        kill(pid, SIGTERM);
        ASSERT_EQ(WaitFor(pid, 5), 0);
        EXPECT_EQ(StoredSetting("Size"), "40 60 700 500") << "run " << run;
        const double ratio = std::stod(StoredSetting("LeftShare"));
        EXPECT_NEAR(ratio, 3.0, 0.02) << "run " << run;
    }
}
