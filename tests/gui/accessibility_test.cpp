// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads of the real program: the program runs on a
// private session bus with the accessibility bridge, and the tree is read
// through AT-SPI as a screen reader reads it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <vector>

#include "gui/gui_support.h"
#include "platform/registry.h"
#include "platform/text1251.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace reg = platform::registry;

namespace {

std::string Output(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

pid_t Start(const std::vector<std::string>& argv, const std::string& cwd = ".")
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0)
            _exit(126);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid;
}

void Stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

/// A session bus of the test's own with the accessibility bus and registry
/// on it; everything started after it inherits its address.
class PrivateAccessibilityBus {
public:
    PrivateAccessibilityBus()
    {
        std::istringstream lines(Output("dbus-daemon --session --fork --print-address=1 --print-pid=1"));
        std::getline(lines, address);
        lines >> daemon;
        setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        launcher = Start({"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"});
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        registry = Start({"/usr/libexec/at-spi2-registryd"});
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    ~PrivateAccessibilityBus()
    {
        Stop(registry);
        Stop(launcher);
        if (daemon > 0)
            kill(daemon, SIGTERM);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    bool Running() const { return !address.empty() && daemon > 0; }

private:
    std::string address;
    pid_t daemon = 0;
    pid_t launcher = 0;
    pid_t registry = 0;
};

/// Runs `command` on the program's main window, whose id stands in `$w`.
void OnMainWindow(pid_t pid, const std::string& command)
{
    const std::string line =
        "w=$(xdotool search --onlyvisible --pid " + std::to_string(pid) + " --class vestrels | head -1); " + command;
    ASSERT_EQ(std::system(line.c_str()), 0) << line;
}

bool WaitUntilShown(pid_t pid)
{
    const std::string search =
        "xdotool search --onlyvisible --pid " + std::to_string(pid) + " --class vestrels >/dev/null 2>&1";
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kHangMs);
    while (std::chrono::steady_clock::now() < end) {
        if (std::system(search.c_str()) == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::string ReadTree()
{
    return Output("timeout 60 /usr/bin/python3 " VESTRELS_TREE_READER " 2>&1");
}

}  // namespace

TEST(Accessibility, ScreenReaderReadsTheShownIssueToolbarListsAndStatusBar)
{
    PrivateProfile profile;
    TempDir work;
    // An issue with a heading, an annotated article and titles the view
    // indents with blanks; the page is in code page 1251 as journals are.
    work.Write("izone57/frame/left.htm",
               platform::text::To1251FromUtf8("<table>\r\n"
                              "<tr><td><a href=\"a1.htm\">Первая статья</a></td></tr>\r\n"
                              "<tr><td><b>Безопасность</b></td></tr>\r\n"
                              "<tr><td><a href=\"a2.htm\">Вторая статья</a></td></tr>\r\n"
                              "</table>\r\n"));
    work.Write("izone57/index.htm", "<html></html>");
    profile.dir().MakeFolder("cwd");
    {
        auto key = reg::CreateKey(kSettingsKey);
        ASSERT_TRUE(key);
        reg::SetValue(*key, "Journals", reg::ValueType::Sz, work.path() + "/*");
    }
    PrivateAccessibilityBus bus;
    ASSERT_TRUE(bus.Running());
    setenv("GTK_MODULES", "gail:atk-bridge", 1);
    setenv("NO_AT_BRIDGE", "0", 1);
    setenv("GSETTINGS_BACKEND", "memory", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    const pid_t program = Start({VESTRELS_PROGRAM_PATH}, profile.dir().Join("cwd"));
    unsetenv("GTK_MODULES");
    unsetenv("NO_AT_BRIDGE");
    ASSERT_TRUE(WaitUntilShown(program));
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    // The issue's row, then the second article of the view (the first line
    // is 10 px below the view's top edge, a line about 15 px high).
    OnMainWindow(program, "xdotool mousemove --window $w 60 128 click 1");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    OnMainWindow(program, "xdotool mousemove --window $w 600 115 click 1");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    const std::string tree = ReadTree();
    Stop(program);

    const char* const expected[] = {
        "list|InternetZone57||focused",
        "list item|Первая статья||",
        "heading|Безопасность||",
        "list item|Вторая статья||selected,focused",
        "push button|Прочитать|",
        "push button|Сменить рабочий каталог|",
        "push button|Новые журналы|",
        "push button|Информация о программе|",
        "table|Оглавление|",
        "status bar|Готово|",
    };
    for (const char* line : expected)
        EXPECT_NE(tree.find(std::string("\n") + line), std::string::npos) << line << "\nin:\n" << tree;
}
