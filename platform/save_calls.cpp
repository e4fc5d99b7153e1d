// SPDX-License-Identifier: GPL-3.0-or-later
// The real system calls behind SaveCalls, and the reasons of a failed save.
#include "platform/save_calls.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {

int SaveCalls::OpenUnnamed(const char* folder, mode_t permissions) const
{
    return open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, permissions);
}

int SaveCalls::CreateExclusive(const char* path, mode_t permissions) const
{
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions);
}

int SaveCalls::ChangeOwner(int fd, uid_t owner, gid_t group) const
{
    return fchown(fd, owner, group);
}

int SaveCalls::ChangeMode(int fd, mode_t mode) const
{
    return fchmod(fd, mode);
}

int SaveCalls::Lock(int fd, int operation) const
{
    return flock(fd, operation);
}

ssize_t SaveCalls::Write(int fd, const void* data, std::size_t size) const
{
    return write(fd, data, size);
}

int SaveCalls::Reserve(int fd, off_t size) const
{
    return posix_fallocate(fd, 0, size);
}

const SaveCalls& RealSaveCalls()
{
    static const SaveCalls calls;
    return calls;
}

namespace {

std::atomic<const SaveCalls*> chosenCalls{nullptr};

}  // namespace

const SaveCalls& CurrentSaveCalls()
{
    const SaveCalls* calls = chosenCalls.load();
    return calls ? *calls : RealSaveCalls();
}

void UseSaveCalls(const SaveCalls* calls)
{
    chosenCalls.store(calls);
}

const char* ReasonText(int error)
{
    switch (error) {
    case ENOSPC:
        return "на диске нет места";
    case EDQUOT:
        return "превышена дисковая квота";
    case EROFS:
        return "носитель доступен только для чтения";
    case EACCES:
    case EPERM:
        return "нет прав на запись";
    case EFBIG:
        return "файл слишком велик";
    case EIO:
        return "ошибка ввода-вывода";
    case 0:
        return "причина неизвестна";
    default:
        return std::strerror(error);
    }
}

}  // namespace platform::files
