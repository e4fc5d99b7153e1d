// SPDX-License-Identifier: GPL-3.0-or-later
// Directory listing, folders and the current directory, on internal paths;
// reading and replacing a whole file by its host path.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/save_calls.h"

namespace platform::files {

struct DirEntry {
    std::string name;  ///< 1251
    bool isFolder = false;
};

/// Lists the folder of a pattern "<folder>\*" (or a folder path). The host
/// lists in no fixed order, so entries come in the byte order of their
/// lower-cased names, as a Windows volume delivers them; "." and ".." are not
/// listed. Nothing when the folder cannot be read.
std::optional<std::vector<DirEntry>> ListDirectory(std::string_view internalPattern);

bool CreateFolder(std::string_view internalPath);
bool RemoveFolder(std::string_view internalPath);  ///< removes it with its contents
bool IsFolder(std::string_view internalPath);

/// The process's current directory in the internal form.
std::string CurrentDirectory();

/// What is read of any one file at most: a file beyond it reads as one that
/// cannot be read.
constexpr std::size_t kMaxReadBytes = std::size_t{64} << 20;

/// Reads a whole regular file; nothing when it cannot be opened, is no
/// regular file or is beyond kMaxReadBytes.
std::optional<std::string> ReadWholeFile(std::string_view internalPath);

/// Reads a regular file through `buffer`, handing each piece to `take` until
/// the end or until `take` returns false. False when the file cannot be
/// opened, is beyond kMaxReadBytes or a read fails; the pieces before the
/// failure were handed over.
bool ReadInPieces(std::string_view internalPath, std::span<char> buffer,
                  const std::function<bool(std::string_view)>& take);

/// A file read whole by its host path.
struct HostFile {
    enum Status { Read, Missing, Failed };
    Status status = Failed;  ///< Missing only for "no such file"; a folder, device or too large a file is Failed
    int error = 0;           ///< Failed: errno of the failure (EFBIG beyond kMaxReadBytes, EISDIR not a regular file)
    std::string bytes;
    int permissions = 0;  ///< the mode bits (07777) of what was read
};
HostFile ReadHostFile(const std::string& hostPath);

/// Creates an empty file unless something of that name exists already.
bool CreateEmptyHostFile(const std::string& hostPath, int permissions = 0644);

/// Removes the temporary files that processes killed during a save left
/// beside `target` (their process no longer runs).
void RemoveStaleTemporaries(const std::filesystem::path& target);

/// How a replacement went.
struct SaveResult {
    enum Status {
        Replaced,          ///< a new file took the old one's place whole
        RewrittenInPlace,  ///< the folder took no new file: the file itself was written over
        Failed,            ///< the old file is as it was
    };
    Status status = Failed;
    int error = 0;  ///< Failed: errno of the step that failed; RewrittenInPlace: why no new file
    bool Saved() const { return status != Failed; }
};

/// Replaces the contents of a regular file by its host path without ever
/// leaving it half-written: a synced temporary file beside it is renamed over
/// it. A symbolic link is followed and stays a link; the file keeps its mode
/// and owner. Only when its folder takes no new file, or the owner could not
/// be kept, is the file rewritten in place. A file that does not exist yet is
/// created with `newPermissions` (less the umask).
SaveResult ReplaceHostFile(const std::string& hostPath, std::string_view bytes, int newPermissions = 0644,
                           const SaveCalls& calls = CurrentSaveCalls());

/// Writes all bytes to a file descriptor, going on after interruptions.
bool WriteAll(int fd, std::string_view bytes, const SaveCalls& calls = CurrentSaveCalls());

/// Reserves room for `size` bytes at the start of a file, so that a full
/// disk shows before anything is written.
bool ReserveSpace(int fd, std::size_t size, const SaveCalls& calls = CurrentSaveCalls());

}  // namespace platform::files
