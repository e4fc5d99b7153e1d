// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/library/chm_archive.h"

#include <chm_lib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "platform/paths.h"
#include "platform/text1251.h"

namespace fs = std::filesystem;

namespace {

// One name inside the archive on disk: UTF-8 names stay, anything else is
// taken for 1251, the code page of the journals.
std::string SegmentToHost(const std::string& segment)
{
    return platform::text::IsValidUtf8(segment) ? segment : platform::paths::NameToHost(segment);
}

// The object's place below its folder; nothing for a path that could leave it
// (a ".." segment or any other segment made of dots only).
std::optional<fs::path> RelativePlace(std::string_view objectPath)
{
    fs::path result;
    std::size_t start = 0;
    while (start <= objectPath.size()) {
        std::size_t end = objectPath.find_first_of("/\\", start);
        if (end == std::string_view::npos)
            end = objectPath.size();
        const std::string segment(objectPath.substr(start, end - start));
        start = end + 1;
        if (segment.empty() || segment == ".")
            continue;
        if (segment.find_first_not_of('.') == std::string::npos)
            return std::nullopt;
        result /= SegmentToHost(segment);
    }
    if (result.empty())
        return std::nullopt;
    return result;
}

int CollectObject(chmFile*, chmUnitInfo* unit, void* context)
{
    auto& objects = *static_cast<std::vector<ArchiveObject>*>(context);
    const std::string_view path(unit->path);
    if (path.empty() || path.back() == '/')
        return CHM_ENUMERATOR_CONTINUE;
    if (std::optional<fs::path> place = RelativePlace(path))
        objects.push_back({std::string(path), std::move(*place), unit->start, unit->length, unit->space});
    return CHM_ENUMERATOR_CONTINUE;
}

// What one archive may unpack: a multiple of its own size, at least a
// little for the smallest archives, never more than the cap. Pages and
// pictures never shrink to a twentieth; an archive built to fill the disk does.
constexpr std::uint64_t kUnpackRatio = 20;
constexpr std::uint64_t kUnpackFloor = std::uint64_t{1} << 20;
constexpr std::uint64_t kUnpackCap = std::uint64_t{1} << 30;

bool WriteAllOf(int fd, const unsigned char* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Errors that mean the archive's own names collide (a file where another
// object needs a folder): that object is passed over, as a duplicate is.
bool IsNameClash(int error)
{
    return error == ENOTDIR || error == EEXIST || error == EISDIR;
}

}  // namespace

std::unique_ptr<ChmArchive> ChmArchive::Open(const std::string& hostPath, OpenError& error, int& errnoValue)
{
    // No blocking on a FIFO or device in the archive's place.
    const int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    errnoValue = errno;
    struct stat st;
    if (fd < 0) {
        error = OpenError::CannotOpen;
        return nullptr;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        error = OpenError::NotRegular;
        return nullptr;
    }
    // The reader opens the very file that was checked, through our descriptor.
    chmFile* file = chm_open(("/proc/self/fd/" + std::to_string(fd)).c_str());
    if (!file) {
        close(fd);
        error = OpenError::NotAnArchive;
        return nullptr;
    }
    error = OpenError::None;
    std::unique_ptr<ChmArchive> archive(new ChmArchive(fd, static_cast<std::uint64_t>(st.st_size), file));
    if (!chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectObject, &archive->objects_)) {
        error = OpenError::NotAnArchive;
        return nullptr;
    }
    return archive;
}

ChmArchive::ChmArchive(int fd, std::uint64_t size, chmFile* file) : fd_(fd), size_(size), file_(file) {}

ChmArchive::~ChmArchive()
{
    chm_close(file_);
    close(fd_);
}

std::uint64_t ChmArchive::limit() const
{
    return std::min(kUnpackCap, std::max(kUnpackFloor, size_ * kUnpackRatio));
}

ChmArchive::Copied ChmArchive::CopyObject(const ArchiveObject& object, const fs::path& target, UnpackResult& result,
                                          const std::function<bool()>& goOn)
{
    const auto fail = [&](int error) {
        result.kind = UnpackResult::Kind::WriteFailed;
        result.error = error;
        return Copied::Failed;
    };
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec)
        return IsNameClash(ec.value()) ? Copied::Skipped : fail(ec.value());
    const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (out < 0)
        return IsNameClash(errno) ? Copied::Skipped : fail(errno);
    // A full disk shows before the bytes go out where the file system can say so.
    const int reserved = object.length == 0 || object.length > limit()
                             ? 0
                             : posix_fallocate(out, 0, static_cast<off_t>(object.length));
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
        close(out);
        return fail(reserved);
    }
    chmUnitInfo unit{};
    unit.start = object.start;
    unit.length = object.length;
    unit.space = object.space;
    object.name.copy(unit.path, std::min(object.name.size(), sizeof unit.path - 1));
    // Read in pieces: the declared length comes from the archive.
    std::vector<unsigned char> buffer(64 * 1024);
    for (LONGUINT64 offset = 0; offset < object.length;) {
        const auto wanted = static_cast<LONGINT64>(std::min<LONGUINT64>(buffer.size(), object.length - offset));
        const LONGINT64 got = chm_retrieve_object(file_, &unit, buffer.data(), offset, wanted);
        if (got <= 0) {
            close(out);
            result.kind = UnpackResult::Kind::Undeliverable;
            result.object = object.name;
            return Copied::Failed;
        }
        unpacked_ += static_cast<std::uint64_t>(got);
        if (unpacked_ > limit()) {
            close(out);
            result.kind = UnpackResult::Kind::OverLimit;
            return Copied::Failed;
        }
        if (!WriteAllOf(out, buffer.data(), static_cast<std::size_t>(got))) {
            const int error = errno;
            close(out);
            return fail(error);
        }
        offset += static_cast<LONGUINT64>(got);
        if (!goOn()) {
            close(out);
            result.kind = UnpackResult::Kind::Cancelled;
            return Copied::Failed;
        }
    }
    // A network or full file system may report a failed write only here.
    return close(out) == 0 ? Copied::Done : fail(errno);
}

UnpackResult ChmArchive::Write(const std::vector<const ArchiveObject*>& chosen, const fs::path& folder,
                               const UnpackProgress& progress)
{
    UnpackResult result;
    std::size_t done = 0;
    const auto goOn = [&] { return progress(done, chosen.size()); };
    const auto cancelled = [] {
        UnpackResult stopped;
        stopped.kind = UnpackResult::Kind::Cancelled;
        return stopped;
    };
    if (!goOn())
        return cancelled();
    for (const ArchiveObject* object : chosen) {
        const Copied copied = CopyObject(*object, folder / object->relative, result, goOn);
        if (copied == Copied::Failed)
            return result;
        ++done;
        if (copied == Copied::Done)
            ++result.written;
        if (!goOn())
            return cancelled();
    }
    // Whole on the disk before the folder is given the name: a
    // power cut must not leave a named folder of empty pages.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = dir >= 0 && syncfs(dir) == 0;
    const int error = errno;
    if (dir >= 0)
        close(dir);
    if (!synced) {
        result.kind = UnpackResult::Kind::WriteFailed;
        result.error = error;
    }
    return result;
}
