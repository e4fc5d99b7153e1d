// Collections that are damaged in the ways disks and people damage them, or
// made to do harm: vestrels-cli reads and searches each with the program's
// own code, and the program starts on it and is ended by a termination
// signal, each as a process of its own. Both must end in time without a
// crash, with the tool's message where it gives one, and nothing the
// collection holds is run or writes outside it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;
const std::string kContents = "<li><a href=\"a.htm\">Alpha word</a></li>\r\n";
// A limit that catches a hang, not slowness: sanitizers and a busy machine
// make everything slower.
constexpr int kHangSeconds = 60;

/// Waits for a process; its exit status, 128 + the signal that killed it,
/// or -1 when it was still running after `seconds` and had to be stopped.
int WaitOrStop(pid_t pid, int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

/// In a child: the error stream into `errFile`, the output discarded.
void RedirectOutput(const std::string& errFile)
{
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int null = open("/dev/null", O_WRONLY);
    if (err < 0 || null < 0 || dup2(err, 2) < 0 || dup2(null, 1) < 0)
        _exit(125);
}

struct CliRun {
    int status = -1;  ///< exit status; 128 + signal when killed; -1 when it had to be stopped
    std::string err;
};

/// Runs the tool at `program` with `args`, as "nobody" when asked.
CliRun RunCli(const TempDir& dir, const std::string& program, const std::vector<std::string>& args, bool asNobody)
{
    const pid_t pid = fork();
    if (pid == 0) {
        RedirectOutput(dir.Join("stderr.txt"));
        if (asNobody && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(124);
        std::vector<char*> argv{const_cast<char*>("vestrels-cli")};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    CliRun run;
    run.status = WaitOrStop(pid, kHangSeconds);
    run.err = dir.Read("stderr.txt");
    return run;
}

/// "nobody" cannot reach a program inside a private checkout: the tool is
/// copied beside the case's collection. Empty when it cannot be.
std::string ToolNobodyCanRun(const TempDir& dir)
{
    std::error_code error;
    const std::string copy = dir.Join("bin/vestrels-cli");
    fs::create_directories(dir.Join("bin"), error);
    fs::copy_file(VESTRELS_CLI_PATH, copy, fs::copy_options::overwrite_existing, error);
    if (error || chmod(dir.Join("bin").c_str(), 0755) != 0 || chmod(copy.c_str(), 0755) != 0)
        return {};
    return copy;
}

/// Why the program cannot be run here; empty when it can.
std::string WhyNoProgram()
{
#ifdef VESTRELS_PROGRAM_PATH
    const char* display = std::getenv("DISPLAY");
    return display && *display ? "" : "no display";
#else
    return "built without the program";
#endif
}

/// Starts the program in `cwd` (where it keeps its favourites) on the hive
/// of XDG_CONFIG_HOME, lets it come up (its catalogue stored, then a
/// moment), and sends it the termination signal. Its end as WaitOrStop says.
int StartAndTerminateProgram(const TempDir& dir, const std::string& cwd)
{
#ifdef VESTRELS_PROGRAM_PATH
    const pid_t pid = fork();
    if (pid == 0) {
        RedirectOutput(dir.Join("program-stderr.txt"));
        if (chdir(cwd.c_str()) != 0)
            _exit(126);
        setenv("GSETTINGS_BACKEND", "memory", 1);
        setenv("LC_ALL", "C.UTF-8", 1);
        execl(VESTRELS_PROGRAM_PATH, "vestrels", static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kHangSeconds);
    while (StoredSetting("NumNameJournals") == "<missing>" && std::chrono::steady_clock::now() < end &&
           waitpid(pid, nullptr, WNOHANG) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(pid, SIGTERM);
    return WaitOrStop(pid, kHangSeconds);
#else
    (void)dir, (void)cwd;
    return 0;
#endif
}

/// A sparse file of 64 GB: far beyond memory, yet no room on disk.
void MakeHuge(const std::string& path)
{
    ASSERT_EQ(truncate(path.c_str(), off_t{64} << 30), 0) << path;
}

/// A compiled-help file of the given pages, made by the help compiler.
void CompileHelp(const TempDir& d, const std::string& chmPath, const std::string& page)
{
    d.Write("project/index.htm", page);
    d.Write("project/issue.hhp",
            "[OPTIONS]\nCompiled file=issue.chm\nDefault topic=index.htm\nTitle=Issue\n\n[FILES]\nindex.htm\n");
    const std::string command = "cd '" + d.Join("project") + "' && chmcmd issue.hhp >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    fs::rename(d.Join("project/issue.chm"), chmPath);
}

std::string RandomBytes(std::size_t size)
{
    std::mt19937 random(1251);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

}  // namespace

TEST(HostileCollection, EveryDamageEndsInTimeWithoutACrash)
{
    const struct {
        const char* name;
        std::function<void(const TempDir&)> damage;  ///< applied to the working directory "w"
        bool asNobody;
        const char* message;  ///< expected on the tool's error stream, or ""
        std::function<void(const TempDir&)> check = [](const TempDir&) {};  ///< after both have run
    } cases[] = {
        {"contents page of 50 MB on one line",
         [](const TempDir& d) {
             std::string line;
             while (line.size() < 50u << 20)
                 line += "<li><a href=\"a.htm\">Alpha word</a> and more text ";
             d.Write("w/izone57/frame/left.htm", line);
         },
         false, ""},
        {"binary file as contents page", [](const TempDir& d) { d.Write("w/izone57/frame/left.htm", RandomBytes(1 << 20)); },
         false, ""},
        {"binary article", [](const TempDir& d) { d.Write("w/izone57/a.htm", RandomBytes(1 << 20)); }, false, ""},
        {"folder where the contents page should be",
         [](const TempDir& d) {
             fs::remove(d.Join("w/izone57/frame/left.htm"));
             d.MakeFolder("w/izone57/frame/left.htm");
         },
         false, "Ошибка открытия файла"},
        {"folder where the article should be",
         [](const TempDir& d) {
             fs::remove(d.Join("w/izone57/a.htm"));
             d.MakeFolder("w/izone57/a.htm");
         },
         false, ""},
        {"unreadable issue folder", [](const TempDir& d) { chmod(d.Join("w/izone57").c_str(), 0); }, true,
         "Ошибка открытия файла"},
        {"unreadable article", [](const TempDir& d) { chmod(d.Join("w/izone57/a.htm").c_str(), 0); }, true, ""},
        {"symbolic link loops",
         [](const TempDir& d) {
             fs::create_directory_symlink(".", d.Join("w/izone58"));
             fs::create_directory_symlink("izone59", d.Join("w/izone59"));
             fs::create_directory_symlink("..", d.Join("w/izone57/frame/up"));
         },
         false, ""},
        {"working directory gone", [](const TempDir& d) { fs::remove_all(d.Join("w")); }, false,
         "cannot read the working directory"},
        {"contents page of 64 GB", [](const TempDir& d) { MakeHuge(d.Join("w/izone57/frame/left.htm")); }, false,
         "Ошибка открытия файла"},
        {"article of 64 GB", [](const TempDir& d) { MakeHuge(d.Join("w/izone57/a.htm")); }, false, ""},
        {"FIFO named like a compiled-help issue",
         [](const TempDir& d) { ASSERT_EQ(mkfifo(d.Join("w/izone70.chm").c_str(), 0644), 0); }, false, "",
         [](const TempDir& d) { EXPECT_FALSE(fs::exists(d.Join("w/izone70"))) << "its folder stayed behind"; }},
        {"program named hhw.exe beside a compiled-help issue",
         [](const TempDir& d) {
             d.Write("w/izone60.chm", "not a compiled help file");
             d.Write("w/hhw.exe", "#!/bin/sh\ntouch '" + d.Join("ran") + "'\n");
             chmod(d.Join("w/hhw.exe").c_str(), 0755);
         },
         false, "", [](const TempDir& d) { EXPECT_FALSE(fs::exists(d.Join("ran"))) << "hhw.exe was run"; }},
        {"compiled-help name leading out of the working directory",
         [](const TempDir& d) {
             // The name read as a path leads to an archive beside the working directory.
             CompileHelp(d, d.Join("escaped.chm"), "<p>out</p>");
             fs::copy_file(d.Join("escaped.chm"), d.Join("w/..\\escaped.chm"));
         },
         false, "",
         [](const TempDir& d) { EXPECT_FALSE(fs::exists(d.Join("escaped"))) << "a folder was made outside"; }},
        {"compiled-help file unpacking beyond its bound",
         [](const TempDir& d) { CompileHelp(d, d.Join("w/izone63.chm"), std::string(1200000, 'a')); }, false, "",
         [](const TempDir& d) { EXPECT_FALSE(fs::exists(d.Join("w/izone63"))) << "what was unpacked stayed"; }},
        {"settings' temporary file links to a file of the user's",
         [](const TempDir& d) {
             d.Write("precious.txt", "precious");
             fs::create_symlink(d.Join("precious.txt"), d.Join("config/Vestrels/registry.reg.tmp"));
         },
         false, "", [](const TempDir& d) { EXPECT_EQ(d.Read("precious.txt"), "precious"); }},
        {"settings file is a symbolic link",
         [](const TempDir& d) {
             fs::rename(d.Join("config/Vestrels/registry.reg"), d.Join("settings.reg"));
             fs::create_symlink(d.Join("settings.reg"), d.Join("config/Vestrels/registry.reg"));
         },
         false, "",
         [](const TempDir& d) {
             EXPECT_TRUE(fs::is_symlink(d.Join("config/Vestrels/registry.reg")));
             if (WhyNoProgram().empty())
                 EXPECT_NE(d.Read("settings.reg").find("NumNameJournals"), std::string::npos);
         }},
    };
    const std::string whyNoProgram = WhyNoProgram();
    if (!whyNoProgram.empty())
        std::printf("the program is not run on the collections: %s\n", whyNoProgram.c_str());
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfigValue = savedConfig ? savedConfig : "";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        chmod(dir.path().c_str(), 0755);
        dir.Write("w/izone57/frame/left.htm", kContents);
        dir.Write("w/izone57/a.htm", "<p>a word</p>\n");
        const std::string work = dir.Join("w");
        setenv("XDG_CONFIG_HOME", dir.Join("config").c_str(), 1);
        StoreSetting("Journals", platform::registry::ValueType::Sz, work + "/*");
        c.damage(dir);
        const std::string tool = c.asNobody ? ToolNobodyCanRun(dir) : VESTRELS_CLI_PATH;
        if (tool.empty())
            std::printf("%s: the tool cannot be copied where nobody can run it; not run\n", c.name);
        std::string errors;
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"list"}, {"toc", "0"}, {"search", "word"}, {"search", "--text", "word"}}) {
            if (tool.empty())
                break;
            std::vector<std::string> args{"--dir", work};
            args.insert(args.end(), command.begin(), command.end());
            const CliRun run = RunCli(dir, tool, args, c.asNobody);
            EXPECT_NE(run.status, -1) << command.back() << ": still running after " << kHangSeconds << " s";
            EXPECT_LT(run.status, 128) << command.back() << ": killed by a signal\n" << run.err;
            EXPECT_NE(run.status, 124) << "cannot switch to nobody";
            errors += run.err;
        }
        if (!tool.empty())
            EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
        if (whyNoProgram.empty()) {
            const int status = StartAndTerminateProgram(dir, fs::exists(work) ? work : dir.path());
            EXPECT_NE(status, -1) << "the program still ran " << kHangSeconds << " s after the termination signal";
            EXPECT_TRUE(status < 128 || status == 128 + SIGTERM)
                << "the program ended with " << status << "\n" << dir.Read("program-stderr.txt");
        }
        c.check(dir);
        chmod(dir.Join("w/izone57").c_str(), 0755);
    }
    if (savedConfig)
        setenv("XDG_CONFIG_HOME", savedConfigValue.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
