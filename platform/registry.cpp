// SPDX-License-Identifier: GPL-3.0-or-later
// The registry hive file: reads without a lock, writes under a lock file.
//
// A write: lock "registry.lock" beside the hive (the hive itself is replaced
// by rename, so it cannot carry the lock), re-read the hive, change one value,
// write a temporary file that no link can stand in for, sync it, rename it
// over the hive, sync the folder, unlock. Readers see either the old or the
// new file, never a half-written one.
// A line that cannot be read costs only its own value and stays in the file.
// Before a write drops such a line (the program sets a value of that name),
// the hive as it was is copied to "registry.reg.damaged[.N]", unless a copy
// there already holds the line. A file that cannot be read at all, holds
// nothing of a hive or is larger than any hive grows (4 MB), reads as empty
// and is moved there at start (SetAsideUnreadableHive) or by the first write.
// Reads never touch the file; a file system without locks is written without.
#include "platform/registry.h"

#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/regedit_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform::registry {
namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER";

/// What is read of the hive at most: a real one holds a few kilobytes.
constexpr std::size_t kMaxHiveBytes = std::size_t{4} << 20;

std::string ConfigHome()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')  // relative values are to be ignored
        return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/";
    }
    return std::string(home) + "/.config";
}

std::string HiveFolder()
{
    return ConfigHome() + "/Vestrels";
}

std::string SectionName(const std::string& subKey)
{
    return subKey.empty() ? std::string(kRoot) : std::string(kRoot) + "\\" + subKey;
}

enum class HiveState { Missing, Damaged, Ok };

struct LoadedHive {
    HiveState state = HiveState::Missing;
    regedit::Document document;
    std::string bytes;  ///< the file as read
};

/// The whole file; nothing when it is absent (ENOENT) and `unreadable` set
/// when it exists but cannot be read.
std::optional<std::string> ReadFile(const std::string& path, bool& unreadable, struct stat* identity = nullptr,
                                    int* error = nullptr)
{
    unreadable = false;
    int ignored = 0;
    int& why = error ? *error : ignored;
    why = 0;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        why = errno;
        unreadable = errno != ENOENT && errno != ENOTDIR;
        return std::nullopt;
    }
    struct stat st;
    // A folder or a FIFO in its place, or a file no hive ever grows to (a
    // sparse one of 64 GB would end the program before any window).
    if (fstat(fd, &st) != 0)
        why = errno;
    else if (!S_ISREG(st.st_mode))
        why = EINVAL;
    else if (st.st_size > static_cast<off_t>(kMaxHiveBytes))
        why = EFBIG;
    if (why != 0) {
        close(fd);
        unreadable = true;
        return std::nullopt;
    }
    if (identity)
        *identity = st;
    std::string bytes;
    char buffer[16384];
    while (true) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            why = errno;
            close(fd);
            unreadable = true;
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > kMaxHiveBytes) {  // it grew while it was read
            close(fd);
            why = EFBIG;
            unreadable = true;
            return std::nullopt;
        }
    }
    close(fd);
    return bytes;
}

LoadedHive LoadHive(struct stat* identity = nullptr)
{
    bool unreadable = false;
    auto bytes = ReadFile(HivePath(), unreadable, identity);
    if (!bytes)
        return {unreadable ? HiveState::Damaged : HiveState::Missing, {}, {}};
    regedit::Document document = regedit::Parse(*bytes);
    if (!document.IsHive())
        return {HiveState::Damaged, {}, std::move(*bytes)};
    return {HiveState::Ok, std::move(document), std::move(*bytes)};
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

/// The hive as last read or written by this process: every value read goes
/// through it, so a large hive is read and parsed once per change of the
/// file, not once per value, and not again after our own write. A write
/// renames a new file over the hive, which changes its identity.
struct HiveCache {
    std::mutex mutex;
    std::shared_ptr<const LoadedHive> hive;
    struct stat identity {};
};

HiveCache& Cache()
{
    static HiveCache cache;
    return cache;
}

std::shared_ptr<const LoadedHive> CurrentHive()
{
    HiveCache& cache = Cache();
    struct stat now {};
    const bool exists = stat(HivePath().c_str(), &now) == 0 && S_ISREG(now.st_mode);
    std::lock_guard lock(cache.mutex);
    if (exists && cache.hive && SameFile(now, cache.identity))
        return cache.hive;
    struct stat identity {};
    LoadedHive fresh = LoadHive(&identity);
    std::string().swap(fresh.bytes);  // only a write that drops lines needs them, and reads them again
    auto loaded = std::make_shared<const LoadedHive>(std::move(fresh));
    cache.hive = loaded->state == HiveState::Missing ? nullptr : loaded;
    cache.identity = identity;
    return loaded;
}

/// The hive this process has just written (under the write lock).
void RememberWritten(const std::string& hive, regedit::Document document)
{
    HiveCache& cache = Cache();
    struct stat now {};
    std::lock_guard lock(cache.mutex);
    cache.hive = nullptr;
    if (stat(hive.c_str(), &now) == 0) {
        cache.hive = std::make_shared<const LoadedHive>(LoadedHive{HiveState::Ok, std::move(document), {}});
        cache.identity = now;
    }
}

bool MakeFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST)
        return true;
    if (errno != ENOENT)
        return false;
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return false;
    return MakeFolder(path.substr(0, slash)) && (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST);
}

/// Holds the exclusive lock on "registry.lock" while it lives.
class HiveLock {
public:
    explicit HiveLock(const std::string& folder)
    {
        fd_ = open((folder + "/registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        while (files::CurrentSaveCalls().Lock(fd_, LOCK_EX) != 0) {
            // A file system without locks: the write goes on without one,
            // as the favourites do.
            if (files::IsLockUnsupported(errno))
                return;
            if (errno != EINTR) {
                error_ = errno;
                close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~HiveLock()
    {
        if (fd_ >= 0)
            close(fd_);  // releases the lock
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;
    bool Held() const { return fd_ >= 0; }
    int Error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

constexpr int kMaxAsideCopies = 10000;

std::string AsidePath(const std::string& hive, int n)
{
    return hive + ".damaged" + (n == 0 ? "" : "." + std::to_string(n));
}

/// Moves a damaged hive to the first free "registry.reg.damaged[.N]" and
/// returns that name; nothing, with errno set, when it could not be moved.
/// link() refuses an existing target, so no earlier copy is overwritten.
std::optional<std::string> MoveDamagedAside(const std::string& hive)
{
    for (int n = 0; n < kMaxAsideCopies; ++n) {
        const std::string aside = AsidePath(hive, n);
        if (link(hive.c_str(), aside.c_str()) == 0) {
            if (unlink(hive.c_str()) == 0)
                return aside;
            const int error = errno;
            unlink(aside.c_str());
            errno = error;
            return std::nullopt;
        }
        if (errno == EEXIST)
            continue;
        // Without hard links (or a folder in the hive's place): check, then
        // rename (we hold the write lock).
        struct stat st;
        if (lstat(aside.c_str(), &st) == 0)
            continue;
        if (rename(hive.c_str(), aside.c_str()) == 0)
            return aside;
        return std::nullopt;
    }
    errno = EEXIST;
    return std::nullopt;
}

/// Whether the copy holds the text as whole lines (the text of a last line
/// may lack its line end).
bool HoldsLines(const std::string& copy, const std::string& lines)
{
    for (std::size_t at = copy.find(lines); at != std::string::npos; at = copy.find(lines, at + 1)) {
        const std::size_t end = at + lines.size();
        const bool ends = lines.ends_with('\n') || end == copy.size() || copy[end] == '\r' || copy[end] == '\n';
        if ((at == 0 || copy[at - 1] == '\n') && ends)
            return true;
    }
    return false;
}

/// Whether one earlier copy already holds every one of these lines, so that
/// the lines of one damaged file are kept once, not at every write.
bool KeptAside(const std::string& hive, const std::vector<std::string>& lines)
{
    for (int n = 0; n < kMaxAsideCopies; ++n) {
        bool unreadable = false;
        const auto copy = ReadFile(AsidePath(hive, n), unreadable);
        if (!copy && !unreadable)
            return false;
        if (copy && std::all_of(lines.begin(), lines.end(),
                                [&](const std::string& line) { return HoldsLines(*copy, line); }))
            return true;
    }
    return false;
}

/// Writes the hive's bytes as they were read to the first free
/// "registry.reg.damaged[.N]"; O_EXCL keeps every earlier copy.
bool CopyAside(const std::string& hive, const std::string& bytes)
{
    for (int n = 0; n < kMaxAsideCopies; ++n) {
        const std::string aside = AsidePath(hive, n);
        const int fd = open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return false;
        const bool written = files::WriteAll(fd, bytes) && fsync(fd) == 0;
        if (close(fd) != 0 || !written) {
            unlink(aside.c_str());
            return false;
        }
        return true;
    }
    return false;
}

/// The write protocol around one change of the document; the change returns
/// the lines of the file it dropped. 0, or the errno of what failed.
template <typename Change>
int ModifyHive(Change change)
{
    const std::string folder = HiveFolder();
    if (!MakeFolder(folder))
        return errno;
    HiveLock lock(folder);
    if (!lock.Held() && lock.Error() != 0)
        return lock.Error();
    const std::string hive = HivePath();
    // Under the lock: the hive as it is now, read again only if it changed.
    const std::shared_ptr<const LoadedHive> current = CurrentHive();
    if (current->state == HiveState::Damaged && !MoveDamagedAside(hive))
        return errno;
    regedit::Document document = current->document;
    const std::vector<std::string> dropped = change(document);
    if (!dropped.empty() && !KeptAside(hive, dropped)) {
        bool unreadable = false;
        const std::optional<std::string> bytes = ReadFile(hive, unreadable);
        if (!bytes || !CopyAside(hive, *bytes))
            return errno != 0 ? errno : EIO;
    }
    // The shared replacement: its temporary file is created exclusively (a
    // link planted in its place is never followed), and a symbolic hive
    // stays a link whose target gets the new contents.
    const files::SaveResult saved = files::ReplaceHostFile(hive, regedit::Serialize(document), 0600);
    if (!saved.Saved())
        return saved.error != 0 ? saved.error : EIO;
    RememberWritten(hive, std::move(document));
    return 0;
}

}  // namespace

std::string HivePath()
{
    return HiveFolder() + "/registry.reg";
}

std::optional<Key> OpenKey(const std::string& subKey)
{
    const auto loaded = CurrentHive();
    if (loaded->state != HiveState::Ok || !loaded->document.HasKey(SectionName(subKey)))
        return std::nullopt;
    return Key(subKey);
}

std::optional<Key> CreateKey(const std::string& subKey)
{
    if (auto existing = OpenKey(subKey))
        return existing;
    const std::string section = SectionName(subKey);
    if (!regedit::IsWritableName(section))
        return std::nullopt;
    const int error = ModifyHive([&](regedit::Document& document) {
        document.EnsureSection(section);
        return std::vector<std::string>();
    });
    if (error != 0)
        return std::nullopt;
    return Key(subKey);
}

QueryResult QueryValue(const Key& key, const std::string& name, std::size_t capacity, std::string& data)
{
    data.clear();
    const auto loaded = CurrentHive();
    if (loaded->state != HiveState::Ok)
        return QueryResult::Missing;
    const regedit::Value* value = loaded->document.FindValue(SectionName(key.Path()), name);
    if (!value)
        return QueryResult::Missing;
    if (value->data.size() > capacity)
        return QueryResult::MoreData;
    data = value->data;
    return QueryResult::Ok;
}

bool SetValue(const Key& key, const std::string& name, ValueType type, const std::string& data, int* error)
{
    const std::string section = SectionName(key.Path());
    int failure = EINVAL;
    if (regedit::IsWritableName(section) && regedit::IsWritableName(name)) {
        // The key's section is recreated if it vanished meanwhile (for
        // instance with a damaged hive that this write moves aside).
        failure = ModifyHive([&](regedit::Document& document) {
            return document.SetValue(section, name, static_cast<std::uint32_t>(type), data);
        });
    }
    if (error)
        *error = failure;
    return failure == 0;
}

std::optional<SetAside> SetAsideUnreadableHive()
{
    const std::string hive = HivePath();
    struct stat st;
    if (lstat(hive.c_str(), &st) != 0)
        return std::nullopt;
    HiveLock lock(HiveFolder());
    bool unreadable = false;
    int why = 0;
    const std::optional<std::string> bytes = ReadFile(hive, unreadable, nullptr, &why);
    if (!bytes && !unreadable)
        return std::nullopt;
    if (bytes && regedit::Parse(*bytes).IsHive())
        return std::nullopt;
    SetAside result{hive, {}, bytes ? 0 : why, 0};
    if (const auto aside = MoveDamagedAside(hive))
        result.keptAs = *aside;
    else
        result.moveError = errno;
    return result;
}

}  // namespace platform::registry
