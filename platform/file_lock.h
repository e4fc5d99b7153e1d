// SPDX-License-Identifier: GPL-3.0-or-later
// What two running copies of the program need to share one file: a lock on
// its folder that the kernel drops with the process, and a stamp that tells
// whether the file changed since it was last seen.
#pragma once

#include <cstdint>
#include <string>

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

/// An exclusive lock on a folder, held while the object lives. It creates
/// nothing in the folder and is released by the kernel when the process
/// ends, however it ends.
class FolderLock {
public:
    /// Tries for up to `waitMs` milliseconds. A folder that cannot be opened
    /// cannot be locked by any copy either: the lock is then not held but not
    /// busy.
    FolderLock(const std::string& hostFolder, int waitMs);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return held_; }
    /// Another process held it for the whole wait.
    bool Busy() const { return fd_ >= 0 && !held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

/// Whether this process may write the existing file (permission bits, owner,
/// read-only mounts).
bool MayWrite(const std::string& hostPath);

}  // namespace platform::files
