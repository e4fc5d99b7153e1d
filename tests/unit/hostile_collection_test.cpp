// SPDX-License-Identifier: GPL-3.0-or-later
// Collections that are damaged in the ways disks and people damage them:
// vestrels-cli reads and searches each with the program's own code, as a
// process of its own, and must end in time without crashing, with the
// program's message where it gives one. So must the program started on each
// and sent a termination signal; and a collection made to do harm does none.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

// A limit that catches a hang, not slowness (sanitizers, a busy machine).
constexpr int kHangSeconds = 60;

/// Runs args[0] in `cwd`, as "nobody" when asked, its errors into `errFile`, and
/// ends it with SIGTERM once it is up if asked; exit status, 128 + signal or -1.
int RunProcess(const std::vector<std::string>& args, const std::string& cwd, const std::string& errFile,
               bool asNobody, bool terminateWhenUp = false)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int null = open("/dev/null", O_WRONLY);
        if (err < 0 || null < 0 || dup2(err, 2) < 0 || dup2(null, 1) < 0 || chdir(cwd.c_str()) != 0)
            _exit(125);
        if (asNobody && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(124);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kHangSeconds);
    bool up = !terminateWhenUp;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (!up && (StoredSetting("NumNameJournals") != "<missing>" || std::chrono::steady_clock::now() > deadline)) {
            std::this_thread::sleep_for(std::chrono::seconds(1));  // on into the scan of the collection
            kill(pid, SIGTERM);
            deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kHangSeconds);
            up = true;
        } else if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

/// A compiled-help file of one page, made by the help compiler, under one or two names.
void CompileHelp(const TempDir& d, const std::string& chmPath, const std::string& page, const std::string& alias = "")
{
    d.Write("project/index.htm", page);
    d.Write("project/a.hhp", "[OPTIONS]\nCompiled file=a.chm\nDefault topic=index.htm\n\n[FILES]\nindex.htm\n");
    ASSERT_EQ(std::system(("cd '" + d.Join("project") + "' && chmcmd a.hhp >/dev/null 2>&1").c_str()), 0);
    std::filesystem::rename(d.Join("project/a.chm"), chmPath);
    if (!alias.empty())
        std::filesystem::create_hard_link(chmPath, alias);
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
    using platform::registry::HivePath;
    const auto huge = [](const char* f) { return [f](const TempDir& d) { truncate(d.Join(f).c_str(), 1L << 36); }; };
    const auto gone = [](const char* path) { return [path](const TempDir& d) { return !fs::exists(d.Join(path)); }; };
    const struct {
        const char* name;
        std::function<void(const TempDir&)> damage;  ///< applied to the working directory "w"
        bool asNobody;
        const char* message;  ///< expected on the tool's error stream, or ""
        std::function<bool(const TempDir&)> unharmed = [](const TempDir&) { return true; };
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
         false, "frame/left.htm: it is a folder"},
        {"folder where the article should be",
         [](const TempDir& d) {
             std::filesystem::remove(d.Join("w/izone57/a.htm"));
             d.MakeFolder("w/izone57/a.htm");
         },
         false, ""},
        {"unreadable issue folder", [](const TempDir& d) { chmod(d.Join("w/izone57").c_str(), 0); }, true,
         "frame/left.htm: Permission denied"},
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
        {"contents page of 64 GB", huge("w/izone57/frame/left.htm"), false, "left.htm: it is larger than 64 MiB"},
        {"article of 64 GB", huge("w/izone57/a.htm"), false, ""},
        {"FIFO named like a compiled-help issue",
         [](const TempDir& d) { mkfifo(d.Join("w/izone70.chm").c_str(), 0644); }, false, "", gone("w/izone70")},
        {"program hhw.exe beside a compiled-help issue",
         [](const TempDir& d) { d.Write("w/izone60.chm", "x"), d.Write("w/hhw.exe", "#!/bin/sh\ntouch ../ran\n"),
                                chmod(d.Join("w/hhw.exe").c_str(), 0755); },
         false, "", gone("ran")},
        {"compiled-help name leading to an archive outside",  // both names are one file
         [](const TempDir& d) { CompileHelp(d, d.Join("escaped.chm"), "<p>out</p>", d.Join("w/..\\escaped.chm")); },
         false, "", gone("escaped")},
        {"compiled-help file unpacking beyond its bound",
         [](const TempDir& d) { CompileHelp(d, d.Join("w/izone63.chm"), std::string(1200000, 'a')); }, false, "",
         gone("w/izone63")},
        {"settings' temporary file links to a file of the user's",
         [](const TempDir& d) { symlink(d.Join("w/izone57/a.htm").c_str(), (HivePath() + ".tmp").c_str()); }, false,
         "", [](const TempDir& d) { return d.Read("w/izone57/a.htm") == "<p>a word</p>\n"; }},
    };
    setenv("GSETTINGS_BACKEND", "memory", 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        chmod(dir.path().c_str(), 0755);
        dir.Write("w/izone57/frame/left.htm", kContents);
        dir.Write("w/izone57/a.htm", "<p>a word</p>\n");
        PrivateProfile profile;
        StoreSetting("Journals", platform::registry::ValueType::Sz, dir.Join("w/*"));
        c.damage(dir);
        const std::string work = dir.Join("w");
        std::error_code uncopied;
        if (c.asNobody && !std::filesystem::copy_file(VESTRELS_CLI_PATH, dir.Join("vestrels-cli"), uncopied))
            std::printf("%s: not run, the tool cannot be copied out of the checkout for nobody\n", c.name);
        const std::string tool = c.asNobody ? dir.Join("vestrels-cli") : VESTRELS_CLI_PATH;
        std::string errors;
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"list"}, {"toc", "0"}, {"search", "word"}, {"search", "--text", "word"}}) {
            if (uncopied)
                break;
            std::vector<std::string> args{tool, "--dir", work};
            args.insert(args.end(), command.begin(), command.end());
            const int status = RunProcess(args, dir.path(), dir.Join("stderr.txt"), c.asNobody);
            EXPECT_NE(status, -1) << command.back() << ": still running after a minute";
            EXPECT_LT(status, 128) << command.back() << ": killed by a signal\n" << dir.Read("stderr.txt");
            EXPECT_NE(status, 124) << "cannot switch to nobody";
            errors += dir.Read("stderr.txt");
        }
        EXPECT_TRUE(uncopied || errors.find(c.message) != std::string::npos) << errors;
#ifdef VESTRELS_PROGRAM_PATH
        const int status = RunProcess({VESTRELS_PROGRAM_PATH}, std::filesystem::exists(work) ? work : dir.path(),
                                      dir.Join("stderr.txt"), false, true);
        EXPECT_NE(status, -1) << "the program still ran a minute after the termination signal";
        EXPECT_TRUE(status < 128 || status == 128 + SIGTERM) << "the program ended with " << status << "\n"
                                                             << dir.Read("stderr.txt");
#endif
        EXPECT_TRUE(c.unharmed(dir)) << "harm done outside the collection";
        chmod(dir.Join("w/izone57").c_str(), 0755);
    }
}
