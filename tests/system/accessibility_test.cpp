// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads of the real program: the program runs on a
// private session bus with the accessibility bridge, and the tree is read
// through AT-SPI as a screen reader reads it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/registry.h"
#include "platform/text1251.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace reg = platform::registry;

namespace {

/// What a shell command prints.
std::string Output(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

/// Starts `command` in the background of a shell; its process id.
pid_t Launch(const std::string& command)
{
    return static_cast<pid_t>(std::atoi(Output(command + " >/dev/null 2>&1 & echo $!").c_str()));
}

/// A session bus of the test's own with the accessibility bus and registry
/// on it; everything started later inherits its address.
class PrivateAccessibilityBus {
public:
    PrivateAccessibilityBus()
    {
        const std::string started = Output("dbus-daemon --session --fork --print-address=1 --print-pid=1");
        const size_t end = started.find('\n');
        if (end == std::string::npos)
            return;
        setenv("DBUS_SESSION_BUS_ADDRESS", started.substr(0, end).c_str(), 1);
        processes[0] = std::atoi(started.c_str() + end + 1);
        processes[1] = Launch("exec /usr/libexec/at-spi-bus-launcher --launch-immediately");
        processes[2] = Launch("sleep 0.5; exec /usr/libexec/at-spi2-registryd");
    }
    ~PrivateAccessibilityBus()
    {
        for (pid_t pid : processes)
            if (pid > 0)
                kill(pid, SIGTERM);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    bool Running() const { return processes[0] > 0 && processes[1] > 0 && processes[2] > 0; }

private:
    pid_t processes[3] = {0, 0, 0};  ///< the bus, its launcher, the registry
};

/// Runs xdotool `actions` on the main window of process `pid`, once it is shown.
void OnMainWindow(pid_t pid, const std::string& actions)
{
    const std::string line = "for i in $(seq 600); do w=$(xdotool search --onlyvisible --pid " +
                             std::to_string(pid) + " --class vestrels | head -1); [ -n \"$w\" ] && break; " +
                             "sleep 0.1; done; sleep 0.8; xdotool " + actions + "; sleep 0.8";
    ASSERT_EQ(std::system(line.c_str()), 0) << line;
}

}  // namespace

TEST(Accessibility, ScreenReaderReadsTheShownIssueToolbarListsAndStatusBar)
{
    PrivateProfile profile;
    TempDir work;
    // A heading between two articles, in code page 1251 as journals are.
    work.Write("izone57/frame/left.htm",
               platform::text::To1251FromUtf8("<table>\r\n"
                                              "<tr><td><a href=\"a1.htm\">Первая статья</a></td></tr>\r\n"
                                              "<tr><td><b>Безопасность</b></td></tr>\r\n"
                                              "<tr><td><a href=\"a2.htm\">Вторая статья</a></td></tr>\r\n"
                                              "</table>\r\n"));
    work.Write("izone57/index.htm", "<html></html>");
    {
        auto key = reg::CreateKey(kSettingsKey);
        ASSERT_TRUE(key);
        reg::SetValue(*key, "Journals", reg::ValueType::Sz, work.path() + "/*");
    }
    PrivateAccessibilityBus bus;
    ASSERT_TRUE(bus.Running());
    const pid_t program = Launch("cd " + profile.dir().path() +
                                 " && GTK_MODULES=gail:atk-bridge NO_AT_BRIDGE=0 GSETTINGS_BACKEND=memory "
                                 "LC_ALL=C.UTF-8 exec " VESTRELS_PROGRAM_PATH);
    ASSERT_GT(program, 0);
    // The issue's row, then the second article (the view's lines start 10 px
    // below its top edge and are about 15 px high).
    OnMainWindow(program, "mousemove --window $w 60 128 click 1");
    OnMainWindow(program, "mousemove --window $w 600 115 click 1");
    const std::string tree = Output("timeout 60 /usr/bin/python3 " VESTRELS_TREE_READER " 2>&1");
    kill(program, SIGTERM);
    waitpid(program, nullptr, 0);

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
