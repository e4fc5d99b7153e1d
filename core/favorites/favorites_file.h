// SPDX-License-Identifier: GPL-3.0-or-later
// The one owner of the favourites file "SelFold.dat": it finds the file,
// serialises the changes of every running copy with a lock on its folder, and
// applies each change to the file as it is now, not to this copy's memory.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/favorites/favorites_store.h"
#include "platform/file_lock.h"

/// What went wrong with the file; the caller tells the user.
enum class FavoritesTrouble {
    None,
    Unreadable,   ///< it exists but cannot be read: it is never written
    ReadOnly,     ///< it can be read but not written (or a damaged file could not be kept): left as it is
    Damaged,      ///< parts were dropped; the whole file was kept as `backup`
    Busy,         ///< another copy held the lock for the whole wait
    WriteFailed,  ///< the save failed; the old file is whole
    FolderReadOnly,     ///< there is no file and its folder takes none: changes last until exit
    TooLarge,           ///< the change would make the file larger than it can be read: refused
    RewrittenInPlace,   ///< saved, but over the file itself: its folder takes no new file
};

struct FavoritesReport {
    FavoritesTrouble trouble = FavoritesTrouble::None;
    std::string backup;  ///< host path of the kept copy of a damaged file
    int error = 0;       ///< errno behind Unreadable, ReadOnly, WriteFailed, FolderReadOnly, RewrittenInPlace
    /// The folder's file system has no locks: the change was saved without
    /// one (the file is still read again before each change).
    bool withoutLock = false;
};

/// One change of the store. It is applied to the file's current content, and
/// again after a reload while it has not reached the file, so it names its
/// section and article by their texts, never by position.
using FavoritesChange = std::function<void(FavoritesStore&)>;

class FavoritesFile {
public:
    /// `writable` decides whether an existing file may be written.
    /// `calls` are the system calls of its saves and its lock.
    explicit FavoritesFile(std::string hostPath,
                           std::function<bool(const std::string&)> writable = platform::files::MayWrite,
                           int lockWaitMs = platform::files::kLockWaitMs,
                           const platform::files::SaveCalls& calls = platform::files::RealSaveCalls());

    /// "SelFold.dat" in `hostFolder`, under the name it has there in any
    /// letter case (files copied from Windows), or the usual name.
    static std::string FindIn(const std::string& hostFolder);

    const std::string& path() const { return path_; }

    /// Reads the file and writes nothing; nothing when it cannot be read.
    std::optional<FavoritesStore> Read(bool* damaged);

    /// At start-up: reads the file (a missing or unreadable one gives an
    /// empty store, and an unreadable one is reported) and keeps a damaged
    /// one under the next free backup name.
    FavoritesStore Open(FavoritesReport& report);

    /// Under the lock: reloads the file when it changed since this copy last
    /// read or wrote it, applies the changes it lacks and `change` to that
    /// content and saves the result when it differs. `store` becomes what the
    /// file holds plus this copy's unsaved changes. A change that would make
    /// the file larger than it can be read back is dropped (TooLarge).
    FavoritesReport Apply(FavoritesStore& store, FavoritesChange change);

    /// The file's content (with this copy's unsaved changes) when it changed
    /// since this copy last read or wrote it.
    std::optional<FavoritesStore> ReloadIfChanged(FavoritesReport& report);

    /// At exit: saves only when this copy has changes the file lacks.
    FavoritesReport Flush(FavoritesStore& store);

private:
    std::string path_;
    std::function<bool(const std::string&)> writable_;
    int lockWaitMs_;
    const platform::files::SaveCalls* calls_;
    platform::files::FileStamp seen_;  ///< the file as this copy last read or wrote it
    FavoritesStore base_;              ///< its content then
    bool readable_ = true;
    bool keepAsItIs_ = false;          ///< a damaged file that could not be kept
    std::vector<FavoritesChange> pending_;

    FavoritesReport Reload(const platform::files::FileStamp& now);
    FavoritesStore WithPending() const;
    FavoritesReport Save(FavoritesStore& store);
    FavoritesReport Write(FavoritesStore& store);
    std::string FittingBytes(FavoritesStore& store);
};

/// Keeps `bytes` of the damaged file `hostPath` beside it as "<name>.bak",
/// or ".bak.1", ".bak.2", ... when that is taken: an existing backup is never
/// overwritten; one with the same bytes is used as it is. The name, or
/// nothing when no copy could be written.
std::optional<std::string> KeepDamagedCopy(const std::string& hostPath, const std::string& bytes, int permissions);

/// The message (1251) that tells the user of `report` about the file at
/// `hostPath` (UTF-8); empty when all went well.
std::string FavoritesTroubleText(const FavoritesReport& report, const std::string& hostPath);
