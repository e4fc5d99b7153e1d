// SPDX-License-Identifier: GPL-3.0-or-later
// How unpacking a compiled-help issue ends on real disks. Each case unpacks in
// a process of its own, which may be killed halfway, then looks at the disk:
// the issue is whole, byte for byte, or absent with nothing left behind, and
// a failure is said once, naming the archive.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include "core/library/compiled_help.h"
#include "core/library/discovery.h"
#include "platform/paths.h"
#include "platform/text1251.h"
#include "support/discovery_fake_host.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// Messages become lines on stderr; at object `stopAt` the user cancels, or the
// process is killed.
class ProcessHost : public FakeHost {
public:
    int stopAt = -1;
    bool killed = false;
    platform::MessageAnswer ShowMessage(const std::string& text, const std::string&, platform::MessageIcon,
                                        platform::MessageButtons) override
    {
        std::fprintf(stderr, "%s\n", platform::text::Utf8From1251(text).c_str());
        return platform::MessageAnswer::Ok;
    }
    bool ShowProgress(const platform::Progress& progress) override
    {
        if (static_cast<int>(progress.done) == stopAt && killed)
            raise(SIGKILL);
        return static_cast<int>(progress.done) != stopAt;
    }
};

void RunUnpacking(const TempDir& dir, ProcessHost host, int runs)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen(dir.Join("stderr.txt").c_str(), "a", stderr))
            _exit(125);
        for (int i = 0; i < runs; ++i)
            PrepareCompiledHelpIssues(host, platform::paths::FromHost(dir.Join("w")) + "\\*");
        std::fflush(stderr);
        _exit(0);
    }
    waitpid(pid, nullptr, 0);
}

const std::vector<std::pair<std::string, std::string>> kPages = [] {
    std::mt19937 random(70);
    std::string noise(300000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    return std::vector<std::pair<std::string, std::string>>{
        {"index.htm", "<p>index</p>\n"}, {"frame/left.htm", "<li><a href=\"a.htm\">A</a></li>\n"},
        {"a.htm", noise}, {"b.htm", "<p>b</p>\n"}};
}();

/// The pages compiled into "w/izone70.chm"; its size (about 310 kB).
std::uintmax_t CompileIssue(const TempDir& dir)
{
    std::string hhp = "[OPTIONS]\nCompiled file=a.chm\nDefault topic=index.htm\n\n[FILES]\n";
    for (const auto& [path, bytes] : kPages)
        dir.Write("project/" + path, bytes), hhp += path + "\n";
    dir.Write("project/a.hhp", hhp);
    if (std::system(("cd '" + dir.Join("project") + "' && chmcmd a.hhp >/dev/null 2>&1").c_str()) != 0)
        return 0;
    fs::copy_file(dir.Join("project/a.chm"), dir.Join("w/izone70.chm"));
    return fs::file_size(dir.Join("w/izone70.chm"));
}

bool Mount(const TempDir& dir, const char* type, unsigned long flags, const std::string& options = "")
{
    return mount(type ? type : dir.Join("w").c_str(), dir.Join("w").c_str(), type, flags, options.c_str()) == 0;
}

}  // namespace

TEST(UnpackOutcomes, IssueIsWholeOrAbsentAndEveryFailureIsSaidOnce)
{
    using Setup = std::function<bool(const TempDir&)>;  // false: not possible here (needs root)
    const Setup plain = [](const TempDir& d) { return CompileIssue(d) > 0; };
    const auto cut = [](std::size_t keep) {
        return [keep](const TempDir& d) { return CompileIssue(d) && (fs::resize_file(d.Join("w/izone70.chm"), keep), true); };
    };
    const struct {
        const char* name;
        Setup setUp;
        ProcessHost host;
        int runs;
        bool whole;
        const char* reason;  ///< "" when nothing is to be said
    } cases[] = {
        {"killed halfway, then started again", plain, [] { ProcessHost h; h.stopAt = 2, h.killed = true; return h; }(),
         1, true, ""},
        {"cancelled", plain, [] { ProcessHost h; h.stopAt = 1; return h; }(), 1, false, ""},
        {"full disk", [](const TempDir& d) { return Mount(d, "tmpfs", 0, "size=400k") && CompileIssue(d) > 0; }, {}, 1,
         false, "на диске не осталось места"},
        {"archive cut short", cut(200000), {}, 1, false, "повреждён"},
        {"not an archive", cut(100), {}, 1, false, "не читается как архив"},
        {"read-only medium, two scans",
         [](const TempDir& d) {
             return CompileIssue(d) && Mount(d, nullptr, MS_BIND) && Mount(d, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY);
         },
         {}, 2, false, "носитель доступен только для чтения"},
        {"folder of the archive's name lacks a page and holds one cut short",
         [](const TempDir& d) {
             d.Write("w/izone70/a.htm", kPages[2].second.substr(0, 8192));
             d.Write("w/izone70/b.htm", kPages[3].second);
             return CompileIssue(d) > 0;
         },
         {}, 1, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.MakeFolder("w");
        if (!c.setUp(dir)) {
            std::printf("%s: not run, needs a help compiler and the right to mount\n", c.name);
            umount2(dir.Join("w").c_str(), MNT_DETACH);
            continue;
        }
        RunUnpacking(dir, c.host, c.runs);
        if (c.host.killed)
            RunUnpacking(dir, {}, 1);
        for (const auto& [path, bytes] : kPages)
            EXPECT_TRUE(!c.whole || dir.Read("w/izone70/" + path) == bytes) << path;
        EXPECT_EQ(fs::exists(dir.Join("w/izone70")), c.whole);
        for (const fs::directory_entry& entry : fs::directory_iterator(dir.Join("w")))
            EXPECT_NE(entry.path().filename().string()[0], '.') << "left behind: " << entry.path();
        const std::string errors = dir.Read("stderr.txt"), archive = dir.Join("w/izone70.chm") + "\n";
        EXPECT_EQ(errors.empty(), !c.reason[0]) << errors;
        EXPECT_EQ(errors.rfind(archive), c.reason[0] ? 0u : std::string::npos) << "named once, first:\n" << errors;
        EXPECT_NE(errors.find(c.reason), std::string::npos) << errors;
        umount2(dir.Join("w").c_str(), MNT_DETACH);
    }
}
