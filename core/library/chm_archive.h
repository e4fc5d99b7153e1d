// SPDX-License-Identifier: GPL-3.0-or-later
// A compiled-help archive (".chm") opened for unpacking: its objects with the
// place each takes below a folder, and the writing of chosen objects into a
// folder with every write checked. The archive is untrusted input: only a
// regular file is opened, no object may land outside its folder, and what one
// archive may unpack is bounded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct chmFile;

struct ArchiveObject {
    std::string name;               ///< as the archive names it ("/frame/left.htm")
    std::filesystem::path relative;  ///< its place below the issue's folder
    std::uint64_t start = 0;
    std::uint64_t length = 0;
    int space = 0;
};

/// How writing objects ended.
struct UnpackResult {
    enum class Kind { Whole, Cancelled, Undeliverable, WriteFailed, OverLimit };
    Kind kind = Kind::Whole;
    int error = 0;           ///< errno of a failed write
    std::string object;      ///< the object the archive could not deliver
    std::size_t written = 0;  ///< objects written whole
};

/// done, total objects; false stops the work.
using UnpackProgress = std::function<bool(std::size_t done, std::size_t total)>;

class ChmArchive {
public:
    enum class OpenError { None, NotRegular, CannotOpen, NotAnArchive };

    /// Opens the archive at a host path; nothing with `error` (and `errnoValue`
    /// for CannotOpen) when it is no regular file or no archive.
    static std::unique_ptr<ChmArchive> Open(const std::string& hostPath, OpenError& error, int& errnoValue);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    /// The objects that have a place below a folder, in archive order.
    const std::vector<ArchiveObject>& objects() const { return objects_; }

    /// What one archive may unpack, in bytes.
    std::uint64_t limit() const;

    /// Writes the chosen objects below `folder`, each into a new file; stops
    /// at the first failure. Another object of the same place, or one whose
    /// place the archive made a file, is passed over. Everything written is
    /// on the disk when the result is Whole.
    UnpackResult Write(const std::vector<const ArchiveObject*>& chosen, const std::filesystem::path& folder,
                       const UnpackProgress& progress);

private:
    ChmArchive(int fd, std::uint64_t size, chmFile* file);
    enum class Copied { Done, Skipped, Failed };
    Copied CopyObject(const ArchiveObject& object, const std::filesystem::path& target, UnpackResult& result,
                      const std::function<bool()>& goOn);

    int fd_;
    std::uint64_t size_;
    chmFile* file_;
    std::vector<ArchiveObject> objects_;
    std::uint64_t unpacked_ = 0;
};
