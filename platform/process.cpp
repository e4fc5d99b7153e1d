// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a program and waiting for it: posix_spawn with the arguments as
// given, never a shell, so nothing in them is interpreted.
#include "platform/process.h"

#include <cerrno>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform::process {

int RunAndWait(const std::string& hostProgram, const std::vector<std::string>& args)
{
    // Checked first so that a missing program is -1 and never a child's 127.
    if (!IsExecutable(hostProgram))
        return -1;
    std::vector<std::string> argvStrings = args.empty() ? std::vector<std::string>{hostProgram} : args;
    std::vector<char*> argv;
    for (std::string& arg : argvStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawn(&pid, hostProgram.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    // Killed by a signal: reported the way shells do, 128 + the signal.
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

bool IsExecutable(const std::string& hostPath)
{
    struct stat st;
    return stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(hostPath.c_str(), X_OK) == 0;
}

std::string FindOnPath(const std::string& program, const std::string& searchPath)
{
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos)
            end = searchPath.size();
        // An empty entry is the current folder, which a reader never runs
        // programs from.
        if (end > start) {
            const std::string candidate = searchPath.substr(start, end - start) + "/" + program;
            if (searchPath[start] == '/' && IsExecutable(candidate))
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace platform::process
