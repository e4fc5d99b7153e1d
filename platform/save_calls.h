// SPDX-License-Identifier: GPL-3.0-or-later
// The system calls of a save and of the folder lock, behind one interface:
// the real ones by default, and any one of them can be answered as a file
// system that refuses it would answer (FUSE and network file systems refuse
// unnamed files, mode changes or locks).
#pragma once

#include <cstddef>

#include <sys/types.h>

namespace platform::files {

/// Each call answers as the system call it stands for: -1 with errno set on
/// failure.
class SaveCalls {
public:
    virtual ~SaveCalls() = default;
    /// open(folder, O_TMPFILE | O_WRONLY): a file without a name.
    virtual int OpenUnnamed(const char* folder, mode_t permissions) const;
    /// open(path, O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY).
    virtual int CreateExclusive(const char* path, mode_t permissions) const;
    virtual int ChangeOwner(int fd, uid_t owner, gid_t group) const;
    virtual int ChangeMode(int fd, mode_t mode) const;
    /// flock(fd, operation).
    virtual int Lock(int fd, int operation) const;
    /// write(fd, data, size).
    virtual ssize_t Write(int fd, const void* data, std::size_t size) const;
    /// posix_fallocate(fd, 0, size): 0, or the error number (errno is not set).
    virtual int Reserve(int fd, off_t size) const;
};

/// The real system calls.
const SaveCalls& RealSaveCalls();

/// The calls every save, write and lock uses unless it is given others: the
/// real ones, or those a program put in their place with UseSaveCalls (a
/// test binary plays a full disk or a failing hive this way).
const SaveCalls& CurrentSaveCalls();
/// Puts `calls` in place of the real ones until called again; nullptr
/// restores the real ones. `calls` must outlive its use.
void UseSaveCalls(const SaveCalls* calls);

/// A text (UTF-8) that tells the user why a call failed: the common reasons
/// of a failed save in the user's words, any other by the system's text.
const char* ReasonText(int error);

}  // namespace platform::files
