// SPDX-License-Identifier: GPL-3.0-or-later
// What two running copies of the program need to share one file: a lock on
// its folder that the kernel drops with the process, and a stamp that tells
// whether the file changed since it was last seen.
#pragma once

#include <cstdint>
#include <string>

#include "platform/save_calls.h"

namespace platform::files {

/// Identity and state of a file as stat sees it through links; all zero when
/// there is no file.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t mtimeNs = 0;

    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& hostPath);

/// How long a change waits for another copy's lock before it is called
/// busy: a save holds the lock for a read, a write and a sync, which a
/// loaded disk can stretch to seconds.
constexpr int kLockWaitMs = 12000;

/// An exclusive lock on a folder, held while the object lives. It creates
/// nothing in the folder and is released by the kernel when the process
/// ends, however it ends.
class FolderLock {
public:
    /// Tries for up to `waitMs` milliseconds. A folder that cannot be opened
    /// cannot be locked by any copy either: the lock is then not held but not
    /// busy. A file system without such locks is neither: see Unsupported.
    FolderLock(const std::string& hostFolder, int waitMs, const SaveCalls& calls = CurrentSaveCalls());
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return state_ == State::Held; }
    /// Another process held it for the whole wait.
    bool Busy() const { return state_ == State::Busy; }
    /// The file system has no such locks (ENOLCK, EOPNOTSUPP, EINVAL): the
    /// caller goes on without one.
    bool Unsupported() const { return state_ == State::Unsupported; }

private:
    enum class State { NotHeld, Held, Busy, Unsupported };
    int fd_ = -1;
    State state_ = State::NotHeld;
};

/// Whether a lock error means that the file system has no such locks.
bool IsLockUnsupported(int error);

/// Whether this process may write the existing file (permission bits, owner,
/// read-only mounts).
bool MayWrite(const std::string& hostPath);

}  // namespace platform::files
