// SPDX-License-Identifier: GPL-3.0-or-later
// The folder lock and file stamp: flock on the folder's own descriptor, so
// no lock file is left behind and a killed process holds nothing.
#include "platform/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace platform::files {

FileStamp StampOf(const std::string& hostPath)
{
    struct stat st;
    if (stat(hostPath.c_str(), &st) != 0)
        return {};
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool IsLockUnsupported(int error)
{
    return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL;
}

FolderLock::FolderLock(const std::string& hostFolder, int waitMs, const SaveCalls& calls)
{
    fd_ = open(hostFolder.empty() ? "." : hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    // Short sleeps first, so that a lock held for a moment costs a moment;
    // longer ones later, so that many waiting copies do not spin.
    int sleepMs = 2;
    for (;;) {
        if (calls.Lock(fd_, LOCK_EX | LOCK_NB) == 0) {
            state_ = State::Held;
            return;
        }
        const int error = errno;
        if (IsLockUnsupported(error)) {
            state_ = State::Unsupported;
            return;
        }
        if (error != EWOULDBLOCK && error != EINTR)
            return;
        if (std::chrono::steady_clock::now() >= end) {
            state_ = error == EWOULDBLOCK ? State::Busy : State::NotHeld;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs));
        sleepMs = std::min(sleepMs * 2, 25);
    }
}

FolderLock::~FolderLock()
{
    // Closing the descriptor releases the lock.
    if (fd_ >= 0)
        close(fd_);
}

bool MayWrite(const std::string& hostPath)
{
    return access(hostPath.c_str(), W_OK) == 0;
}

}  // namespace platform::files
