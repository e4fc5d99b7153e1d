// Directory listing, folders, the current directory and whole-file reads on
// internal paths; every path goes through paths::ToHost.
#include "platform/files.h"

#include "platform/paths.h"
#include "platform/text1251.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {
namespace {

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

}  // namespace

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

std::optional<std::string> ReadWholeFile(std::string_view internalPath)
{
    // Non-blocking open and a regular-file check: a FIFO must not hang us.
    const int fd = open(paths::ToHost(internalPath).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    // Straight into a string of the size the file has now, then on to the
    // end in case it grew meanwhile.
    std::string bytes(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)), '\0');
    std::size_t filled = 0;
    ssize_t n = 1;
    while (filled < bytes.size() && (n = ReadSome(fd, bytes.data() + filled, bytes.size() - filled)) > 0)
        filled += static_cast<std::size_t>(n);
    bytes.resize(filled);
    char more[4096];
    while (n > 0 && (n = ReadSome(fd, more, sizeof more)) > 0)
        bytes.append(more, static_cast<std::size_t>(n));
    close(fd);
    if (n < 0)
        return std::nullopt;
    return bytes;
}

}  // namespace platform::files
