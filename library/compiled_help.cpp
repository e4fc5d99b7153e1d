// SPDX-License-Identifier: GPL-3.0-or-later
// Issues that arrive as one compiled-help file (".chm") get a folder of their
// own next to it, unpacked there by the program itself: no program found in a
// collection or in the current directory is ever started. The archive is
// untrusted input: only a regular file is opened, no object may land outside
// its folder, and what one archive may unpack is bounded.
#include <chm_lib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "library/cp1251.h"
#include "library/discovery.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text1251.h"

namespace fs = std::filesystem;

namespace {

bool PassesFolderTests(const platform::files::DirEntry& entry)
{
    return entry.isFolder && entry.name.find('.') == std::string::npos;
}

// A folder whose name occurs in the ".chm" name holds that file unpacked.
bool CountsAsUnpacked(std::string_view workPattern, std::string_view chmName)
{
    const auto entries = platform::files::ListDirectory(workPattern);
    if (!entries)
        return false;
    for (const platform::files::DirEntry& entry : *entries) {
        if (PassesFolderTests(entry) && chmName.find(platform::text::Lower1251(entry.name)) != std::string_view::npos)
            return true;
    }
    return false;
}

bool IsEmptyFolder(const std::string& internalPath)
{
    const auto entries = platform::files::ListDirectory(internalPath);
    return entries && entries->empty();
}

// One name inside the archive on disk: UTF-8 names stay, anything else is
// taken for 1251, the code page of the journals.
std::string SegmentToHost(const std::string& segment)
{
    return platform::text::IsValidUtf8(segment) ? segment : platform::paths::NameToHost(segment);
}

// The object's place below `folder`; nothing for a path that could leave it
// (a ".." segment or any other segment made of dots only).
std::optional<fs::path> ObjectPathBelow(const fs::path& folder, std::string_view objectPath)
{
    fs::path result = folder;
    bool hasName = false;
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
        hasName = true;
    }
    if (!hasName)
        return std::nullopt;
    return result;
}

// What one archive may unpack: a multiple of its own size, at least a
// little for the smallest archives, never more than the cap. Pages and
// pictures never shrink to a twentieth; an archive built to fill the disk does.
constexpr std::uint64_t kUnpackRatio = 20;
constexpr std::uint64_t kUnpackFloor = std::uint64_t{1} << 20;
constexpr std::uint64_t kUnpackCap = std::uint64_t{1} << 30;

std::uint64_t UnpackLimit(std::uint64_t archiveSize)
{
    return std::min(kUnpackCap, std::max(kUnpackFloor, archiveSize * kUnpackRatio));
}

struct UnpackContext {
    fs::path folder;
    std::uint64_t limit = 0;
    std::uint64_t written = 0;
    bool overLimit = false;
};

bool CopyObject(chmFile* file, chmUnitInfo* unit, const fs::path& target, UnpackContext& unpack)
{
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec || fs::exists(fs::symlink_status(target, ec)))
        return false;
    std::ofstream out(target, std::ios::binary);
    if (!out)
        return false;
    // Read in pieces: the declared length comes from the archive.
    std::vector<unsigned char> buffer(64 * 1024);
    LONGUINT64 offset = 0;
    while (offset < unit->length) {
        const LONGINT64 wanted = static_cast<LONGINT64>(std::min<LONGUINT64>(buffer.size(), unit->length - offset));
        const LONGINT64 got = chm_retrieve_object(file, unit, buffer.data(), offset, wanted);
        if (got <= 0)
            break;
        unpack.written += static_cast<std::uint64_t>(got);
        if (unpack.written > unpack.limit) {
            unpack.overLimit = true;
            return false;
        }
        out.write(reinterpret_cast<const char*>(buffer.data()), static_cast<std::streamsize>(got));
        offset += static_cast<LONGUINT64>(got);
    }
    return static_cast<bool>(out);
}

int UnpackObject(chmFile* file, chmUnitInfo* unit, void* context)
{
    auto& unpack = *static_cast<UnpackContext*>(context);
    const std::string_view path(unit->path);
    if (path.empty() || path.back() == '/')
        return CHM_ENUMERATOR_CONTINUE;
    if (const std::optional<fs::path> target = ObjectPathBelow(unpack.folder, path))
        CopyObject(file, unit, *target, unpack);
    return unpack.overLimit ? CHM_ENUMERATOR_FAILURE : CHM_ENUMERATOR_CONTINUE;
}

/// The archive opened for reading when it is a regular file, without
/// blocking on a FIFO or device in its place; -1 otherwise. Its size
/// through `size`.
int OpenRegularArchive(const std::string& hostChmFile, std::uint64_t& size)
{
    const int fd = open(hostChmFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        size = static_cast<std::uint64_t>(st.st_size);
        return fd;
    }
    if (fd >= 0)
        close(fd);
    return -1;
}

enum class Unpacked { Done, OverLimit };

/// Unpacks the archive open as `fd`: the reader opens the very file that was
/// checked, through our descriptor.
Unpacked UnpackCompiledHelp(int fd, std::uint64_t archiveSize, const std::string& hostFolder)
{
    chmFile* file = chm_open(("/proc/self/fd/" + std::to_string(fd)).c_str());
    if (!file)
        return Unpacked::Done;
    UnpackContext context{fs::path(hostFolder), UnpackLimit(archiveSize)};
    chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, UnpackObject, &context);
    chm_close(file);
    return context.overLimit ? Unpacked::OverLimit : Unpacked::Done;
}

/// A name that stays one entry of the working directory: a path separator
/// or a name of dots only would put the issue's folder somewhere else.
bool IsPlainName(std::string_view base)
{
    return !base.empty() && base.find_first_of("\\/") == std::string_view::npos &&
           base.find_first_not_of('.') != std::string_view::npos;
}

std::vector<std::string> CompiledHelpFiles(std::string_view workPattern)
{
    std::vector<std::string> names;
    const auto entries = platform::files::ListDirectory(workPattern);
    if (!entries)
        return names;
    for (const platform::files::DirEntry& entry : *entries) {
        std::string name = platform::text::Lower1251(entry.name);
        if (!entry.isFolder && name.find(".chm") != std::string::npos &&
            IsPlainName(std::string_view(name).substr(0, name.rfind('.'))))
            names.push_back(std::move(name));
    }
    return names;
}

void ReportOverLimit(platform::HostUi& host, const std::string& chmPath, std::uint64_t archiveSize)
{
    const std::string megabytes = std::to_string(UnpackLimit(archiveSize) >> 20);
    // The path as the user's file manager shows it.
    const std::string shownPath = platform::text::To1251FromUtf8(platform::paths::ToHost(chmPath));
    host.ShowMessage(shownPath + Cp1251("\n\nАрхив распаковывается больше чем в " + megabytes +
                                      " МБ. Распаковка остановлена, распакованные файлы удалены."),
                     Cp1251("Ошибка распаковки"), platform::MessageIcon::Error, platform::MessageButtons::Ok);
}

// Unpacks one file into its new folder; false when the clipboard refused the
// folder's path, which ends the step.
bool GiveFolder(platform::HostUi& host, std::string_view workPattern, const std::string& chmName)
{
    const std::string base = chmName.substr(0, chmName.rfind('.'));
    const std::string folder = FolderPath(workPattern, base);
    // An existing folder (one with a dot never counts as unpacked) already
    // holds what an earlier scan put there; it is neither refilled nor removed.
    if (platform::files::IsFolder(folder))
        return true;
    const std::string chmPath = FolderPath(workPattern, chmName);
    std::uint64_t archiveSize = 0;
    const int fd = OpenRegularArchive(platform::paths::ToHost(chmPath), archiveSize);
    if (fd < 0)
        return true;
    if (!platform::files::CreateFolder(folder)) {
        close(fd);
        return true;
    }
    const std::string hostFolder = platform::paths::ToHost(folder);
    if (!host.SetClipboardText(platform::text::To1251FromUtf8(hostFolder))) {
        close(fd);
        platform::files::RemoveFolder(folder);
        return false;
    }
    const Unpacked unpacked = UnpackCompiledHelp(fd, archiveSize, hostFolder);
    close(fd);
    if (unpacked == Unpacked::OverLimit) {
        platform::files::RemoveFolder(folder);
        ReportOverLimit(host, chmPath, archiveSize);
    } else if (IsEmptyFolder(folder)) {
        platform::files::RemoveFolder(folder);
    }
    return true;
}

}  // namespace

void PrepareCompiledHelpIssues(platform::HostUi& host, std::string_view workPattern)
{
    for (const std::string& chmName : CompiledHelpFiles(workPattern)) {
        if (CountsAsUnpacked(workPattern, chmName))
            continue;
        if (!GiveFolder(host, workPattern, chmName))
            return;
    }
}
