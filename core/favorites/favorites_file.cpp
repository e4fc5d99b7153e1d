// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites file's owner. Every running copy changes the file the same
// way: take the folder lock, read the file again if its stamp moved since
// this copy last saw it, apply the changes the file lacks, write the result
// with the atomic save. The exit therefore has nothing to write unless a
// change could not be saved when it was made.
#include "core/favorites/favorites_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/files.h"
#include "platform/text1251.h"

namespace {

constexpr const char* kFileName = "SelFold.dat";
constexpr int kMaxBackups = 1000;

std::string FolderOf(const std::string& hostPath)
{
    const std::string folder = std::filesystem::path(hostPath).parent_path().string();
    return folder.empty() ? "." : folder;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

}  // namespace

std::optional<std::string> KeepDamagedCopy(const std::string& hostPath, const std::string& bytes, int permissions)
{
    namespace files = platform::files;
    for (int i = 0; i < kMaxBackups; ++i) {
        const std::string name = hostPath + ".bak" + (i ? "." + std::to_string(i) : "");
        const files::HostFile old = files::ReadHostFile(name);
        if (old.status == files::HostFile::Missing)
            return files::ReplaceHostFile(name, bytes, permissions).Saved() ? std::optional(name) : std::nullopt;
        if (old.status == files::HostFile::Read && old.bytes == bytes)
            return name;
    }
    return std::nullopt;
}

FavoritesFile::FavoritesFile(std::string hostPath, std::function<bool(const std::string&)> writable, int lockWaitMs,
                             const platform::files::SaveCalls& calls)
    : path_(std::move(hostPath)), writable_(std::move(writable)), lockWaitMs_(lockWaitMs), calls_(&calls)
{
}

std::string FavoritesFile::FindIn(const std::string& hostFolder)
{
    const std::filesystem::path folder(hostFolder);
    std::error_code error;
    if (std::filesystem::exists(folder / kFileName, error))
        return (folder / kFileName).string();
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (SameNameIgnoringCase(it->path().filename().string(), kFileName))
            return it->path().string();
    return (folder / kFileName).string();
}

std::optional<FavoritesStore> FavoritesFile::Read(bool* damaged)
{
    const platform::files::HostFile file = platform::files::ReadHostFile(path_);
    if (file.status != platform::files::HostFile::Read)
        return std::nullopt;
    return ParseFavorites(file.bytes, damaged);
}

FavoritesStore FavoritesFile::Open(FavoritesReport& report)
{
    // A second copy starting on the same damaged file must find the backup
    // the first one made, not make another.
    const platform::files::FolderLock lock(FolderOf(path_), lockWaitMs_, *calls_);
    report = Reload(platform::files::StampOf(path_));
    return base_;
}

FavoritesReport FavoritesFile::Reload(const platform::files::FileStamp& now)
{
    namespace files = platform::files;
    const files::HostFile file = files::ReadHostFile(path_);
    seen_ = now;
    readable_ = file.status != files::HostFile::Failed;
    keepAsItIs_ = false;
    base_ = {};
    if (!readable_)
        return {FavoritesTrouble::Unreadable, {}, file.error};
    if (file.status != files::HostFile::Read)
        return {};
    bool damaged = false;
    base_ = ParseFavorites(file.bytes, &damaged);
    if (!damaged)
        return {};
    // The damaged file is all the user has of what was dropped: it is kept
    // before anything can overwrite it, or it is never overwritten.
    const std::optional<std::string> backup = KeepDamagedCopy(path_, file.bytes, file.permissions);
    keepAsItIs_ = !backup;
    return {FavoritesTrouble::Damaged, backup.value_or("")};
}

FavoritesStore FavoritesFile::WithPending() const
{
    FavoritesStore store = base_;
    for (const FavoritesChange& change : pending_)
        change(store);
    return store;
}

std::optional<FavoritesStore> FavoritesFile::ReloadIfChanged(FavoritesReport& report)
{
    // The saves are atomic renames: the file is read whole without the lock.
    const platform::files::FileStamp now = platform::files::StampOf(path_);
    if (now == seen_)
        return std::nullopt;
    report = Reload(now);
    return WithPending();
}

FavoritesReport FavoritesFile::Apply(FavoritesStore& store, FavoritesChange change)
{
    pending_.push_back(std::move(change));
    return Save(store);
}

FavoritesReport FavoritesFile::Flush(FavoritesStore& store)
{
    if (pending_.empty())
        return {};
    return Save(store);
}

FavoritesReport FavoritesFile::Save(FavoritesStore& store)
{
    namespace files = platform::files;
    const files::FolderLock lock(FolderOf(path_), lockWaitMs_, *calls_);
    if (lock.Busy()) {
        store = WithPending();
        return {FavoritesTrouble::Busy, {}};
    }
    FavoritesReport report = Write(store);
    // Without locks the re-read before the change is all that keeps two
    // copies apart; the user hears of it once.
    report.withoutLock = lock.Unsupported();
    return report;
}

std::string FavoritesFile::FittingBytes(FavoritesStore& store)
{
    // What the file would grow to beyond the read bound could never be read
    // back: the newest changes are refused until it fits.
    std::string bytes = SerializeFavorites(store);
    while (bytes.size() > platform::files::kMaxReadBytes && !pending_.empty()) {
        pending_.pop_back();
        store = WithPending();
        bytes = SerializeFavorites(store);
    }
    return bytes;
}

FavoritesReport FavoritesFile::Write(FavoritesStore& store)
{
    namespace files = platform::files;
    const files::FileStamp now = files::StampOf(path_);
    FavoritesReport report = now == seen_ ? FavoritesReport{} : Reload(now);
    store = WithPending();
    if (report.trouble == FavoritesTrouble::None) {
        if (!readable_) {
            report.trouble = FavoritesTrouble::Unreadable;
        } else if (keepAsItIs_) {
            report.trouble = FavoritesTrouble::ReadOnly;
        } else if (now.size >= 0 && (errno = 0, !writable_(path_))) {
            report.error = errno;
            report.trouble = FavoritesTrouble::ReadOnly;
        }
    }
    if (!readable_ || keepAsItIs_ || report.trouble == FavoritesTrouble::ReadOnly)
        return report;
    const std::size_t wanted = pending_.size();
    const std::string bytes = FittingBytes(store);
    if (pending_.size() < wanted)
        report = {FavoritesTrouble::TooLarge, {}};
    // Nothing the file lacks: it keeps its time, its owner and every byte,
    // and a folder without favourites gets no file.
    if (bytes != SerializeFavorites(base_)) {
        const files::SaveResult saved = files::ReplaceHostFile(path_, bytes, 0644, *calls_);
        if (!saved.Saved()) {
            // No file, and a folder that takes none: nothing will be saved
            // in this run, which the user is told once.
            const bool folderReadOnly = now.size < 0 && (saved.error == EACCES || saved.error == EPERM ||
                                                         saved.error == EROFS);
            return {folderReadOnly ? FavoritesTrouble::FolderReadOnly : FavoritesTrouble::WriteFailed, {},
                    saved.error};
        }
        if (saved.status == files::SaveResult::RewrittenInPlace && report.trouble == FavoritesTrouble::None)
            report = {FavoritesTrouble::RewrittenInPlace, {}, saved.error};
        seen_ = files::StampOf(path_);
        base_ = store;
    }
    pending_.clear();
    return report;
}

namespace {

/// "(reason)" for a known errno, nothing otherwise.
std::string Because(int error)
{
    return error == 0 ? std::string() : std::string(" (") + platform::files::ReasonText(error) + ")";
}

}  // namespace

std::string FavoritesTroubleText(const FavoritesReport& report, const std::string& hostPath)
{
    const std::string file = "Файл избранного\n" + hostPath + "\n";
    const std::string untilExit = "Изменения избранного останутся только до закрытия программы.";
    std::string text;
    switch (report.trouble) {
    case FavoritesTrouble::None:
        return {};
    case FavoritesTrouble::Unreadable:
        text = file + "нельзя прочитать" + Because(report.error) +
               ", поэтому избранное не может быть сохранено в нём. " + untilExit;
        break;
    case FavoritesTrouble::ReadOnly:
        text = file + "нельзя изменить" + Because(report.error) +
               ", поэтому избранное не может быть сохранено в нём. " + untilExit;
        break;
    case FavoritesTrouble::Damaged:
        text = report.backup.empty()
                   ? file + "повреждён, и сохранить его копию не удалось. Файл не будет изменён; "
                            "изменения избранного останутся только до закрытия программы."
                   : file + "повреждён: прочитано то, что уцелело. Сам файл сохранён как\n" + report.backup;
        break;
    case FavoritesTrouble::Busy:
        text = file + "занят другой копией программы. Изменение будет сохранено вместе со следующим "
                      "изменением или при закрытии программы.";
        break;
    case FavoritesTrouble::WriteFailed:
        text = "Не удалось сохранить избранное в файл\n" + hostPath + "\n" +
               platform::files::ReasonText(report.error) + ".";
        break;
    case FavoritesTrouble::FolderReadOnly:
        text = "В каталог\n" + FolderOf(hostPath) + "\nнельзя записать файл избранного" + Because(report.error) +
               ". " + untilExit;
        break;
    case FavoritesTrouble::TooLarge:
        text = file + "стал бы больше " + std::to_string(platform::files::kMaxReadBytes >> 20) +
               " МБ, а файл такого размера программа прочитать не может. Избранное не изменено.";
        break;
    case FavoritesTrouble::RewrittenInPlace:
        text = file + "перезаписан на месте: в его каталоге нельзя создать новый файл" + Because(report.error) +
               ". Если запись прервётся, файл может быть повреждён.";
        break;
    }
    return platform::text::To1251FromUtf8(text);
}
