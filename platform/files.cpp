// SPDX-License-Identifier: GPL-3.0-or-later
// Directory listing, folders, the current directory and whole-file reads on
// internal paths (every such path goes through paths::ToHost); whole-file
// reads and replacements by host path.
#include "platform/files.h"

#include "platform/paths.h"
#include "platform/text1251.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {
namespace {

std::atomic<bool> fullDisk{false};


/// The folder part of "<folder>\*" (also "*.*"); any other path is the folder.
std::string_view FolderOfPattern(std::string_view pattern)
{
    for (std::string_view wildcard : {"*", "*.*"}) {
        if (pattern.ends_with(wildcard)) {
            const std::size_t cut = pattern.size() - wildcard.size();
            if (cut == 0 || pattern[cut - 1] == '\\' || pattern[cut - 1] == '/')
                return pattern.substr(0, cut);
        }
    }
    return pattern;
}

bool IsFolderEntry(int folderFd, const dirent& entry)
{
    // The listing's own type saves a stat per entry; a link, or a file system
    // that does not say, is looked at (a link to a folder is a folder).
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK)
        return false;
    struct stat st;
    return fstatat(folderFd, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

/// Sorts by lower-cased name, then by the name itself; each name is lowered
/// once, not once per comparison.
void SortInListOrder(std::vector<DirEntry>& entries)
{
    std::vector<std::string> lower(entries.size());
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        lower[i] = text::Lower1251(entries[i].name);
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return lower[a] != lower[b] ? lower[a] < lower[b] : entries[a].name < entries[b].name;
    });
    std::vector<DirEntry> sorted;
    sorted.reserve(entries.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

ssize_t ReadSome(int fd, char* into, std::size_t size)
{
    ssize_t n;
    do
        n = read(fd, into, size);
    while (n < 0 && errno == EINTR);
    return n;
}

// Non-blocking: a FIFO in a file's place must not hang us.
int OpenForReading(const std::string& hostPath)
{
    return open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

/// Whether an open file is a regular one within the bound (a sparse file of
/// 64 GB must not end us); closes it when it is not.
bool KeepIfReadable(int fd, struct stat& st)
{
    if (fd < 0)
        return false;
    int error = 0;
    if (fstat(fd, &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode))
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    else if (st.st_size > static_cast<off_t>(kMaxReadBytes))
        error = EFBIG;
    if (error != 0) {
        close(fd);
        errno = error;
        return false;
    }
    return true;
}

/// Reads a regular file whole and closes it; false for anything else and
/// for a file beyond the bound.
bool ReadOpenFile(int fd, std::string& bytes, int* permissions = nullptr)
{
    struct stat st;
    if (!KeepIfReadable(fd, st))
        return false;
    if (permissions)
        *permissions = static_cast<int>(st.st_mode & 07777);
    // Straight into a string of the size the file has now, then on to the
    // end in case it grew meanwhile, never beyond the bound.
    bytes.assign(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)), '\0');
    std::size_t filled = 0;
    ssize_t n = 1;
    while (filled < bytes.size() && (n = ReadSome(fd, bytes.data() + filled, bytes.size() - filled)) > 0)
        filled += static_cast<std::size_t>(n);
    bytes.resize(filled);
    char more[4096];
    while (n > 0 && bytes.size() <= kMaxReadBytes && (n = ReadSome(fd, more, sizeof more)) > 0)
        bytes.append(more, static_cast<std::size_t>(n));
    const int readError = n < 0 ? errno : 0;
    close(fd);
    if (bytes.size() > kMaxReadBytes) {
        std::string().swap(bytes);
        errno = EFBIG;
        return false;
    }
    errno = readError;
    return n >= 0;
}

/// The file a chain of symbolic links ends at, the path itself when it is no link.
std::filesystem::path FollowLinks(std::filesystem::path path)
{
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(std::filesystem::symlink_status(path, error)); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

/// The temporary name of our process for `target`: "<name>.tmp<pid>".
std::string TemporaryName(const std::filesystem::path& target)
{
    return target.string() + ".tmp" + std::to_string(getpid());
}

/// The process id of another process's temporary name for the file called
/// `name`, or 0 when `entry` is no such name.
pid_t TemporaryOwner(std::string_view entry, std::string_view name)
{
    if (!entry.starts_with(name) || !entry.substr(name.size()).starts_with(".tmp"))
        return 0;
    const std::string_view digits = entry.substr(name.size() + 4);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(digits)));
    return pid == getpid() ? 0 : pid;
}

}  // namespace

void RemoveStaleTemporaries(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const std::string name = target.filename().string();
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const pid_t pid = TemporaryOwner(entry->d_name, name);
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH)
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

namespace {

/// A new file of this name, created exclusively and never through a link;
/// one left by an earlier process of our id is taken away first.
int CreateFresh(const SaveCalls& calls, const std::string& path, int permissions)
{
    int fd = calls.CreateExclusive(path.c_str(), static_cast<mode_t>(permissions));
    if (fd < 0 && errno == EEXIST && unlink(path.c_str()) == 0)
        fd = calls.CreateExclusive(path.c_str(), static_cast<mode_t>(permissions));
    return fd;
}

/// A file without a name in `folder`, so that a crash while it is written
/// leaves nothing behind; -1 where the file system has no such files or
/// refuses them (FUSE and network file systems answer EOPNOTSUPP, others
/// EISDIR or EINVAL, and a folder without write permission EACCES).
int CreateUnnamed(const SaveCalls& calls, const std::filesystem::path& folder, int permissions)
{
    return calls.OpenUnnamed(folder.empty() ? "." : folder.c_str(), static_cast<mode_t>(permissions));
}

/// Gives an unnamed file its temporary name. linkat never follows nor
/// replaces an existing name; a stale one of our id is taken away first.
bool NameUnnamed(int fd, const std::string& path)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    return errno == EEXIST && unlink(path.c_str()) == 0 &&
           linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

/// Gives the temporary file the old file's owner and mode. False when the
/// owner cannot be kept (only root gives a file away): a rename would then
/// hand another user's file to us. A mode change that a file system refuses
/// counts only when the mode is not right already.
bool KeepOwnerAndMode(const SaveCalls& calls, int fd, const struct stat& old)
{
    struct stat now;
    if (fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        calls.ChangeOwner(fd, old.st_uid, old.st_gid) != 0 && now.st_uid != old.st_uid)
        return false;
    const mode_t wanted = old.st_mode & 07777;
    if (calls.ChangeMode(fd, wanted) == 0)
        return true;
    const int error = errno;
    if (fstat(fd, &now) == 0 && (now.st_mode & 07777) == wanted)
        return true;
    errno = error;
    return false;
}

/// Writes over the file itself: not safe against a crash, but the only way
/// when its folder takes no temporary file.
SaveResult RewriteInPlace(const std::filesystem::path& file, std::string_view bytes, int whyNotNew)
{
    const int fd = open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {SaveResult::Failed, errno};
    // Room for the new contents first: a full disk then fails before a
    // single byte of the old contents is overwritten.
    const bool written = ReserveSpace(fd, bytes.size()) && WriteAll(fd, bytes) &&
                         ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
    const int error = written ? 0 : errno;
    if (close(fd) != 0 && written)
        return {SaveResult::Failed, errno};
    if (!written)
        return {SaveResult::Failed, error};
    return {SaveResult::RewrittenInPlace, whyNotNew};
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes)
{
    if (fullDisk) {
        // As a full disk does: part of the bytes goes out, then ENOSPC.
        const ssize_t written = write(fd, bytes.data(), bytes.size() / 2);
        (void)written;
        errno = ENOSPC;
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool ReserveSpace(int fd, std::size_t size)
{
    if (fullDisk) {
        errno = ENOSPC;
        return false;
    }
    const int error = size == 0 ? 0 : posix_fallocate(fd, 0, static_cast<off_t>(size));
    // A file system that cannot reserve gets the plain writes.
    return error == 0 || error == EOPNOTSUPP || error == EINVAL;
}

void SimulateFullDiskForTesting(bool full)
{
    fullDisk = full;
}

std::optional<std::vector<DirEntry>> ListDirectory(std::string_view internalPattern)
{
    const std::string folder = paths::ToHost(FolderOfPattern(internalPattern));
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::vector<DirEntry> entries;
    const int folderFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        entries.push_back(DirEntry{paths::NameFromHost(name), IsFolderEntry(folderFd, *entry)});
    }
    closedir(dir);
    SortInListOrder(entries);
    return entries;
}

bool CreateFolder(std::string_view internalPath)
{
    return mkdir(paths::ToHost(internalPath).c_str(), 0755) == 0;
}

bool RemoveFolder(std::string_view internalPath)
{
    const std::string host = paths::ToHost(internalPath);
    // Only a real folder: a symbolic link to one is not removed, nor followed.
    struct stat st;
    if (lstat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    std::error_code error;
    std::filesystem::remove_all(host, error);
    return !error;
}

bool IsFolder(std::string_view internalPath)
{
    struct stat st;
    return stat(paths::ToHost(internalPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CurrentDirectory()
{
    std::string buffer(4096, '\0');
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return paths::FromHost(buffer);
}

namespace {

/// Opens a file by its internal path: as written first, which is what the
/// look-up finds for nearly every path, and by the look-up when that fails.
int OpenInternal(std::string_view internalPath)
{
    const int fd = OpenForReading(paths::ToHostAsWritten(internalPath));
    return fd >= 0 ? fd : OpenForReading(paths::ToHost(internalPath));
}

}  // namespace

std::optional<std::string> ReadWholeFile(std::string_view internalPath)
{
    std::string bytes;
    if (!ReadOpenFile(OpenInternal(internalPath), bytes))
        return std::nullopt;
    return bytes;
}

bool ReadInPieces(std::string_view internalPath, std::span<char> buffer,
                  const std::function<bool(std::string_view)>& take)
{
    const int fd = OpenInternal(internalPath);
    struct stat st;
    // Beyond the bound a file is skipped, as a whole read would skip it: what
    // the reader carries of one line can never grow past it.
    if (!KeepIfReadable(fd, st))
        return false;
    std::size_t total = 0;
    ssize_t n;
    while ((n = ReadSome(fd, buffer.data(), buffer.size())) > 0) {
        total += static_cast<std::size_t>(n);
        if (total > kMaxReadBytes) {
            n = -1;
            break;
        }
        if (!take(std::string_view(buffer.data(), static_cast<std::size_t>(n))))
            break;
    }
    close(fd);
    return n >= 0;
}

HostFile ReadHostFile(const std::string& hostPath)
{
    HostFile file;
    const int fd = OpenForReading(hostPath);
    if (fd < 0 && errno == ENOENT)
        file.status = HostFile::Missing;
    else if (ReadOpenFile(fd, file.bytes, &file.permissions))
        file.status = HostFile::Read;
    else
        file.error = errno;
    return file;
}

bool CreateEmptyHostFile(const std::string& hostPath, int permissions)
{
    const int fd = open(hostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(permissions));
    return fd >= 0 && close(fd) == 0;
}

namespace {

/// Writes and syncs the temporary file, names it (when it has no name yet)
/// and renames it over the target; the temporary file is gone either way.
/// 0, or the errno of the step that failed.
int WriteAndRename(int fd, bool named, const std::string& tmp, const std::filesystem::path& target,
                   std::string_view bytes)
{
    bool ok = WriteAll(fd, bytes) && fsync(fd) == 0 && (named || NameUnnamed(fd, tmp));
    int error = ok ? 0 : errno;
    const bool hasName = named || ok;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(tmp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok && hasName)
        unlink(tmp.c_str());
    return ok ? 0 : (error != 0 ? error : EIO);
}

void SyncFolderOf(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.parent_path();
    const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

}  // namespace

SaveResult ReplaceHostFile(const std::string& hostPath, std::string_view bytes, int newPermissions,
                           const SaveCalls& calls)
{
    const std::filesystem::path target = FollowLinks(hostPath);
    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return {SaveResult::Failed, errno};
    if (exists && !S_ISREG(old.st_mode))
        return {SaveResult::Failed, S_ISDIR(old.st_mode) ? EISDIR : EINVAL};
    RemoveStaleTemporaries(target);
    const int permissions = exists ? 0600 : newPermissions;
    const std::string tmp = TemporaryName(target);
    // An unnamed file first; refused for whatever reason, a named one.
    int fd = CreateUnnamed(calls, target.parent_path(), permissions);
    const bool named = fd < 0;
    if (named)
        fd = CreateFresh(calls, tmp, permissions);
    if (fd < 0) {
        // The last resort: a folder that takes no new file may still let
        // the file itself be written.
        const int folderError = errno;
        if (!exists)
            return {SaveResult::Failed, folderError};
        return RewriteInPlace(target, bytes, folderError);
    }
    if (exists && !KeepOwnerAndMode(calls, fd, old)) {
        const int error = errno;
        close(fd);
        if (named)
            unlink(tmp.c_str());
        return RewriteInPlace(target, bytes, error);
    }
    if (const int error = WriteAndRename(fd, named, tmp, target, bytes); error != 0)
        return {SaveResult::Failed, error};
    // Make the rename itself durable; the new contents are safe either way.
    SyncFolderOf(target);
    return {SaveResult::Replaced, 0};
}

}  // namespace platform::files
