// Directory listing, folders and the current directory, on internal paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

/// Reads a whole file; nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(std::string_view internalPath);

}  // namespace platform::files
