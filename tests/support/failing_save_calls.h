// SPDX-License-Identifier: GPL-3.0-or-later
// File systems that refuse what a save needs, played through the save calls
// the platform uses: a full disk, and a settings hive that cannot be written.
#pragma once

#include <cerrno>
#include <unistd.h>

#include "platform/save_calls.h"

/// A full disk: no room can be reserved, and a write puts out half its bytes
/// and then fails with ENOSPC.
class FullDiskCalls : public platform::files::SaveCalls {
public:
    ssize_t Write(int fd, const void* data, std::size_t size) const override
    {
        const ssize_t written = ::write(fd, data, size / 2);
        (void)written;
        errno = ENOSPC;
        return -1;
    }
    int Reserve(int, off_t) const override { return ENOSPC; }
};

/// No lock can be taken (EIO): every write of the hive fails before it
/// changes anything; reading goes on as before.
class FailingLockCalls : public platform::files::SaveCalls {
public:
    int Lock(int, int) const override
    {
        errno = EIO;
        return -1;
    }
};

/// Puts `Calls` in place of the real save calls for one scope.
template <class Calls>
class ScopedSaveCalls {
public:
    ScopedSaveCalls() { platform::files::UseSaveCalls(&calls_); }
    ~ScopedSaveCalls() { platform::files::UseSaveCalls(nullptr); }
    ScopedSaveCalls(const ScopedSaveCalls&) = delete;
    ScopedSaveCalls& operator=(const ScopedSaveCalls&) = delete;

private:
    Calls calls_;
};

using FullDisk = ScopedSaveCalls<FullDiskCalls>;
using FailingHiveWrites = ScopedSaveCalls<FailingLockCalls>;
