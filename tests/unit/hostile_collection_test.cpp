// Collections that are damaged in the ways disks and people damage them:
// vestrels-cli reads and searches each with the program's own code, as a
// process of its own, and must end in time without crashing, with the
// program's message where it gives one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace {

constexpr uid_t kNobody = 65534;
const std::string kContents = "<li><a href=\"a.htm\">Alpha word</a></li>\r\n";

struct CliRun {
    int status = -1;  ///< exit status; 128 + signal when killed; -1 when it had to be stopped
    std::string err;
};

/// Runs vestrels-cli with `args`, as "nobody" when asked, stopping it after
/// `seconds`.
CliRun RunCli(const TempDir& dir, const std::vector<std::string>& args, bool asNobody, int seconds = 20)
{
    const std::string errFile = dir.Join("stderr.txt");
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int null = open("/dev/null", O_WRONLY);
        if (err < 0 || null < 0 || dup2(err, 2) < 0 || dup2(null, 1) < 0)
            _exit(125);
        if (asNobody && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(124);
        std::vector<char*> argv{const_cast<char*>("vestrels-cli")};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(VESTRELS_CLI_PATH, argv.data());
        _exit(127);
    }
    CliRun run;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.err = dir.Read("stderr.txt");
    return run;
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
        const char* message;  ///< expected on the error stream, or ""
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
             std::filesystem::remove(d.Join("w/izone57/frame/left.htm"));
             d.MakeFolder("w/izone57/frame/left.htm");
         },
         false, "Ошибка открытия файла"},
        {"folder where the article should be",
         [](const TempDir& d) {
             std::filesystem::remove(d.Join("w/izone57/a.htm"));
             d.MakeFolder("w/izone57/a.htm");
         },
         false, ""},
        {"unreadable issue folder", [](const TempDir& d) { chmod(d.Join("w/izone57").c_str(), 0); }, true,
         "Ошибка открытия файла"},
        {"unreadable article", [](const TempDir& d) { chmod(d.Join("w/izone57/a.htm").c_str(), 0); }, true, ""},
        {"symbolic link loops",
         [](const TempDir& d) {
             std::filesystem::create_directory_symlink(".", d.Join("w/izone58"));
             std::filesystem::create_directory_symlink("izone59", d.Join("w/izone59"));
             std::filesystem::create_directory_symlink("..", d.Join("w/izone57/frame/up"));
         },
         false, ""},
        {"working directory gone", [](const TempDir& d) { std::filesystem::remove_all(d.Join("w")); }, false,
         "cannot read the working directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        chmod(dir.path().c_str(), 0755);
        dir.Write("w/izone57/frame/left.htm", kContents);
        dir.Write("w/izone57/a.htm", "<p>a word</p>\n");
        c.damage(dir);
        const std::string work = dir.Join("w");
        std::string errors;
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"list"}, {"toc", "0"}, {"search", "word"}, {"search", "--text", "word"}}) {
            std::vector<std::string> args{"--dir", work};
            args.insert(args.end(), command.begin(), command.end());
            const auto start = std::chrono::steady_clock::now();
            const CliRun run = RunCli(dir, args, c.asNobody);
            const auto seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            EXPECT_NE(run.status, -1) << command.back() << ": still running after 20 s";
            EXPECT_LT(run.status, 128) << command.back() << ": killed by a signal\n" << run.err;
            EXPECT_NE(run.status, 124) << "cannot switch to nobody";
            EXPECT_LT(seconds, 10.0) << command.back();
            errors += run.err;
        }
        EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
        chmod(dir.Join("w/izone57").c_str(), 0755);
    }
}
