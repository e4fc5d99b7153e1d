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

bool ListOrder(const DirEntry& a, const DirEntry& b)
{
    const std::string lowerA = text::Lower1251(a.name);
    const std::string lowerB = text::Lower1251(b.name);
    return lowerA != lowerB ? lowerA < lowerB : a.name < b.name;
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
        struct stat st;
        const bool isFolder = fstatat(folderFd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        entries.push_back(DirEntry{paths::NameFromHost(name), isFolder});
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), ListOrder);
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
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return bytes;
}

}  // namespace platform::files
