// SPDX-License-Identifier: GPL-3.0-or-later
// Issues that arrive as one compiled-help file (".chm") get a folder of their
// own next to it, unpacked there by the program itself: no program found in a
// collection or in the current directory is ever started.
//
// An issue is whole or absent: the archive is unpacked into a hidden folder
// beside it, which takes the issue's name only once every object is on the
// disk. A failure or a cancel removes it; what a killed copy left is removed
// at the next start and the unpacking done again. The folder of the issue's
// name that lacks objects of the archive, or holds one cut short, is
// completed from it.
#include "core/library/compiled_help.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <vector>

#include "core/catalogue/catalogue_folders.h"
#include "core/library/chm_archive.h"
#include "core/library/library.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/text1251.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUnpackingMark = ".vestrels-unpacking-";

// A folder whose name occurs in the ".chm" name holds that file unpacked.
bool CountsAsUnpacked(std::string_view workPattern, std::string_view chmName)
{
    const auto entries = platform::files::ListDirectory(workPattern);
    if (!entries)
        return false;
    for (const platform::files::DirEntry& entry : *entries) {
        if (IsCandidateIssueFolder(entry) && chmName.find(platform::text::Lower1251(entry.name)) != std::string_view::npos)
            return true;
    }
    return false;
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

/// The process that unpacks into a folder of that name; 0 for other names.
pid_t UnpackingProcess(std::string_view name)
{
    const std::size_t mark = name.rfind(kUnpackingMark);
    if (name.empty() || name[0] != '.' || mark == std::string_view::npos)
        return 0;
    const std::string_view digits = name.substr(mark + kUnpackingMark.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    return static_cast<pid_t>(std::stol(std::string(digits)));
}

// A killed copy its parent has not reaped yet runs no more.
bool ProcessRuns(pid_t pid)
{
    if (kill(pid, 0) != 0 && errno == ESRCH)
        return false;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t end = line.rfind(')');
    return end == std::string::npos || end + 2 >= line.size() || line[end + 2] != 'Z';
}

// What a copy killed while it unpacked left behind. A folder of a copy that
// still runs is its work in progress.
void RemoveAbandonedUnpackings(std::string_view workPattern)
{
    const auto entries = platform::files::ListDirectory(workPattern);
    if (!entries)
        return;
    for (const platform::files::DirEntry& entry : *entries) {
        const pid_t pid = entry.isFolder ? UnpackingProcess(entry.name) : 0;
        if (pid > 0 && (pid == getpid() || !ProcessRuns(pid)))
            platform::files::RemoveFolder(FolderPath(workPattern, entry.name));
    }
}

/// A message's words in the host's language; both stand side by side where
/// the message is made. The Russian is UTF-8 here and 1251 in the result.
std::string Say(const platform::HostUi& host, std::string_view russian, std::string_view english)
{
    return host.SpeaksEnglish() ? std::string(english) : Cp1251(russian);
}

std::string ErrnoReason(const platform::HostUi& host, int error)
{
    if (host.SpeaksEnglish())
        return std::strerror(error);
    switch (error) {
    case ENOSPC: return Cp1251("на диске не осталось места");
    case EDQUOT: return Cp1251("исчерпана дисковая квота");
    case EROFS: return Cp1251("носитель доступен только для чтения");
    case EACCES:
    case EPERM: return Cp1251("нет прав на запись в эту папку");
    case EFBIG: return Cp1251("файл больше, чем допускает система");
    case EIO: return Cp1251("ошибка ввода-вывода");
    default: return platform::text::To1251FromUtf8(std::strerror(error));
    }
}

// A name inside the archive as the user reads it.
std::string NameForDisplay(std::string_view name)
{
    if (name.starts_with('/'))
        name.remove_prefix(1);
    return platform::text::IsValidUtf8(name) ? platform::text::To1251FromUtf8(name) : std::string(name);
}

/// "4 181 640 байт (4,0 МБ)": the exact bound, kept on one line, and its size
/// in binary megabytes.
std::string BytesForDisplay(const platform::HostUi& host, std::uint64_t bytes)
{
    std::string digits = std::to_string(bytes);
    const std::string gap = host.SpeaksEnglish() ? " " : "\xA0";  // a no-break space in 1251
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), gap);
    const std::uint64_t tenths = (bytes * 10 + (std::uint64_t{1} << 19)) >> 20;
    const std::string megabytes = std::to_string(tenths / 10) + (host.SpeaksEnglish() ? "." : ",") +
                                  std::to_string(tenths % 10);
    return digits + gap + Say(host, "байт (", "bytes (") + megabytes + Say(host, " МБ)", " MiB)");
}

/// One archive being given its issue's folder.
class ArchiveJob {
public:
    ArchiveJob(platform::HostUi& host, std::string_view workPattern, const std::string& chmName)
        : host_(host), workPattern_(workPattern), chmName_(chmName),
          base_(chmName.substr(0, chmName.rfind('.'))), folder_(FolderPath(workPattern, base_))
    {
    }

    /// False when the clipboard refused the new folder's path, which ends the step.
    bool Unpack();
    void Complete();
    /// Set when the archive's folder cannot be made because of where it lies.
    int placeError = 0;

private:
    bool OpenArchive();
    bool MakeWorkFolder();
    UnpackResult WriteIntoWorkFolder(const std::vector<const ArchiveObject*>& chosen);
    std::error_code MoveCompletedObjects();
    void Report(const std::string& reason);
    void ReportResult(const UnpackResult& result);
    std::string WorkFolderHost() const { return platform::paths::ToHost(FolderPath(workPattern_, workName_)); }

    platform::HostUi& host_;
    std::string workPattern_, chmName_, base_, folder_;
    std::string workName_ = "." + base_ + std::string(kUnpackingMark) + std::to_string(getpid());
    std::unique_ptr<ChmArchive> archive_;
};

std::string ChmPathForDisplay(std::string_view workPattern, const std::string& chmName)
{
    return platform::paths::ForDisplay(FolderPath(workPattern, chmName));
}

void ArchiveJob::Report(const std::string& reason)
{
    const std::string archive = ChmPathForDisplay(workPattern_, chmName_);
    host_.ShowMessage(host_.SpeaksEnglish() ? "cannot unpack " + archive + ": " + reason
                                            : archive + "\n\n" + Cp1251("Архив не распакован: ") + reason + ".",
                      Cp1251("Ошибка распаковки"), platform::MessageIcon::Error, platform::MessageButtons::Ok);
}

bool ArchiveJob::OpenArchive()
{
    ChmArchive::OpenError error = ChmArchive::OpenError::None;
    int errnoValue = 0;
    archive_ = ChmArchive::Open(platform::paths::ToHost(FolderPath(workPattern_, chmName_)), error, errnoValue);
    switch (error) {
    case ChmArchive::OpenError::None: return true;
    case ChmArchive::OpenError::NotRegular: Report(Say(host_, "это не обычный файл", "it is not a regular file")); break;
    case ChmArchive::OpenError::CannotOpen:
        Report(Say(host_, "файл не открывается (", "it cannot be opened (") + ErrnoReason(host_, errnoValue) + ")");
        break;
    case ChmArchive::OpenError::NotAnArchive:
        Report(Say(host_, "файл не читается как архив справки .chm: он повреждён, обрезан или это не архив",
                   "it cannot be read as a compiled-help archive: it is damaged, cut short or no archive"));
        break;
    }
    return false;
}

bool ArchiveJob::MakeWorkFolder()
{
    std::error_code ec;
    if (fs::create_directory(WorkFolderHost(), ec))
        return true;
    const int error = ec ? ec.value() : EEXIST;
    // A medium that takes no folder says so once, for all its archives.
    if (error == EROFS || error == EACCES || error == EPERM)
        placeError = error;
    else
        Report(ErrnoReason(host_, error));
    return false;
}

UnpackResult ArchiveJob::WriteIntoWorkFolder(const std::vector<const ArchiveObject*>& chosen)
{
    const std::string shown = ChmPathForDisplay(workPattern_, chmName_);
    const UnpackResult result = archive_->Write(chosen, WorkFolderHost(), [&](std::size_t done, std::size_t total) {
        return host_.ShowProgress({"Vestrels",
                                   Cp1251("Распаковка архива\n") + shown + Cp1251("\n\nФайлов: ") +
                                       std::to_string(done) + Cp1251(" из ") + std::to_string(total),
                                   done, total});
    });
    host_.EndProgress();
    return result;
}

void ArchiveJob::ReportResult(const UnpackResult& result)
{
    switch (result.kind) {
    case UnpackResult::Kind::Whole:
    case UnpackResult::Kind::Cancelled: return;
    case UnpackResult::Kind::Undeliverable:
        Report(Say(host_, "архив повреждён или обрезан, файл «", "the archive is damaged or cut short: its file '") +
               NameForDisplay(result.object) + Say(host_, "» из него не читается", "' cannot be read"));
        return;
    case UnpackResult::Kind::WriteFailed: Report(ErrnoReason(host_, result.error)); return;
    case UnpackResult::Kind::OverLimit:
        Report(Say(host_, "он распаковывается больше чем в ", "it unpacks to more than ") +
               BytesForDisplay(host_, archive_->limit()) +
               Say(host_, ", а так много из архива такого размера не бывает",
                   ", more than an archive of its size ever holds"));
        return;
    }
}

bool ArchiveJob::Unpack()
{
    if (!MakeWorkFolder())
        return true;
    const bool clipboardTook = host_.SetClipboardText(platform::paths::ForDisplay(folder_));
    if (!clipboardTook || !OpenArchive()) {
        platform::files::RemoveFolder(FolderPath(workPattern_, workName_));
        return clipboardTook;
    }
    std::vector<const ArchiveObject*> all;
    for (const ArchiveObject& object : archive_->objects())
        all.push_back(&object);
    const UnpackResult result = WriteIntoWorkFolder(all);
    const bool whole = result.kind == UnpackResult::Kind::Whole && result.written > 0;
    std::error_code renamed;
    if (whole) {
        fs::rename(WorkFolderHost(), platform::paths::ToHost(folder_), renamed);
        if (!renamed)
            return true;
    }
    // Nothing is left behind while a message is up.
    platform::files::RemoveFolder(FolderPath(workPattern_, workName_));
    // Another copy that unpacked the same archive first made the issue's folder.
    if (whole && renamed != std::errc::directory_not_empty && renamed != std::errc::file_exists)
        Report(ErrnoReason(host_, renamed.value()));
    else if (result.kind == UnpackResult::Kind::Whole && result.written == 0)
        Report(Say(host_, "в нём нет ни одного файла", "it holds no file"));
    else
        ReportResult(result);
    return true;
}

/// Whether an object's place below the issue's folder passes through real
/// folders only: a link there must not carry a page out of the collection.
bool PlaceIsInside(const fs::path& issue, const fs::path& relative)
{
    fs::path at = issue;
    for (auto it = relative.begin(); it != relative.end() && std::next(it) != relative.end(); ++it) {
        at /= *it;
        std::error_code ec;
        const auto status = fs::symlink_status(at, ec);
        if (!fs::exists(status))
            return true;
        if (!fs::is_directory(status))
            return false;
    }
    return true;
}

/// Whether a file holds the start of an object and no more: what a write cut
/// short leaves. A file the user changed is no such start.
bool IsCutShort(const fs::path& file, std::uint64_t fileSize, const fs::path& whole)
{
    std::ifstream cut(file, std::ios::binary), full(whole, std::ios::binary);
    std::vector<char> a(64 * 1024), b(64 * 1024);
    for (std::uint64_t left = fileSize; left > 0;) {
        const auto n = static_cast<std::streamsize>(std::min<std::uint64_t>(left, a.size()));
        if (!cut.read(a.data(), n) || !full.read(b.data(), n) || std::memcmp(a.data(), b.data(), n) != 0)
            return false;
        left -= static_cast<std::uint64_t>(n);
    }
    return true;
}

// Each completed object replaces a missing or cut-short one by a rename, so
// a page is whole at every moment.
std::error_code ArchiveJob::MoveCompletedObjects()
{
    const fs::path work = WorkFolderHost(), issue = platform::paths::ToHost(folder_);
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(work, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const fs::path relative = fs::relative(it->path(), work, ec);
        const fs::path target = issue / relative;
        if (!PlaceIsInside(issue, relative))
            continue;
        std::error_code missing;
        const auto status = fs::symlink_status(target, missing);
        const bool replace = !fs::exists(status) ||
                             (fs::is_regular_file(status) && fs::file_size(target, missing) < it->file_size(ec) &&
                              IsCutShort(target, fs::file_size(target, missing), it->path()));
        std::error_code moved;
        if (replace && (fs::create_directories(target.parent_path(), moved), !moved))
            fs::rename(it->path(), target, moved);
        if (moved)
            return moved;
    }
    return {};
}

void ArchiveJob::Complete()
{
    // Only a real folder of exactly the archive's name is the program's own.
    const fs::path issue = platform::paths::ToHost(folder_);
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(issue, ec)) || !OpenArchive())
        return;
    // A write cut short leaves a file shorter than its object; a longer one
    // is the user's.
    std::vector<const ArchiveObject*> lacking;
    for (const ArchiveObject& object : archive_->objects()) {
        const fs::path target = issue / object.relative;
        const auto status = fs::symlink_status(target, ec);
        if (PlaceIsInside(issue, object.relative) &&
            (!fs::exists(status) || (fs::is_regular_file(status) && fs::file_size(target, ec) < object.length)))
            lacking.push_back(&object);
    }
    if (lacking.empty() || !MakeWorkFolder())
        return;
    const UnpackResult result = WriteIntoWorkFolder(lacking);
    const std::error_code moved = result.kind == UnpackResult::Kind::Whole ? MoveCompletedObjects() : std::error_code();
    platform::files::RemoveFolder(FolderPath(workPattern_, workName_));
    if (moved)
        Report(ErrnoReason(host_, moved.value()));
    ReportResult(result);
}

// Archives already refused because of their medium: said once per start.
std::set<std::string>& RefusedArchives()
{
    static std::set<std::string> refused;
    return refused;
}

void ReportRefusedPlace(platform::HostUi& host, const std::vector<std::string>& archives, int error)
{
    std::string text;
    if (host.SpeaksEnglish()) {
        for (const std::string& archive : archives)
            host.ShowMessage("cannot unpack " + archive + " here: " +
                                 (error == EROFS ? "the medium is read-only" : "no permission to write in this folder") +
                                 "; the issue is left out until it is unpacked",
                             "", platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return;
    }
    for (const std::string& archive : archives)
        text += archive + "\n";
    text += error == EROFS ? Cp1251("\nАрхив нельзя распаковать здесь: носитель доступен только для чтения.")
                           : Cp1251("\nАрхив нельзя распаковать здесь: нет прав на запись в эту папку.");
    text += Cp1251("\nПока архив не распакован, этого номера журнала нет в списке.");
    host.ShowMessage(text, Cp1251("Ошибка распаковки"), platform::MessageIcon::Warning, platform::MessageButtons::Ok);
}

}  // namespace

void PrepareCompiledHelpIssues(platform::HostUi& host, std::string_view workPattern)
{
    RemoveAbandonedUnpackings(workPattern);
    std::vector<std::string> refused;
    int refusal = 0;
    for (const std::string& chmName : CompiledHelpFiles(workPattern)) {
        ArchiveJob job(host, workPattern, chmName);
        const std::string base = chmName.substr(0, chmName.rfind('.'));
        if (platform::files::IsFolder(FolderPath(workPattern, base)))
            job.Complete();
        else if (!CountsAsUnpacked(workPattern, chmName) && !job.Unpack())
            break;
        const std::string shown = ChmPathForDisplay(workPattern, chmName);
        if (job.placeError != 0 && RefusedArchives().insert(shown).second) {
            refused.push_back(shown);
            refusal = job.placeError;
        }
    }
    if (!refused.empty())
        ReportRefusedPlace(host, refused, refusal);
}
