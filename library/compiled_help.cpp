// Issues that arrive as one compiled-help file (".chm") get a folder of their
// own next to it. The file is unpacked there by the help workshop tool when
// "hhw.exe" stands in the current directory, otherwise by the program itself.
// The archive is untrusted input: no object may land outside its folder.
#include <chm_lib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "library/discovery.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
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

struct UnpackContext {
    fs::path folder;
    bool wroteAnything = false;
};

bool CopyObject(chmFile* file, chmUnitInfo* unit, const fs::path& target)
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
    if (const std::optional<fs::path> target = ObjectPathBelow(unpack.folder, path)) {
        if (CopyObject(file, unit, *target))
            unpack.wroteAnything = true;
    }
    return CHM_ENUMERATOR_CONTINUE;
}

void UnpackCompiledHelp(const std::string& hostChmFile, const std::string& hostFolder)
{
    chmFile* file = chm_open(hostChmFile.c_str());
    if (!file)
        return;
    UnpackContext context{fs::path(hostFolder)};
    chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, UnpackObject, &context);
    chm_close(file);
}

std::vector<std::string> CompiledHelpFiles(std::string_view workPattern)
{
    std::vector<std::string> names;
    const auto entries = platform::files::ListDirectory(workPattern);
    if (!entries)
        return names;
    for (const platform::files::DirEntry& entry : *entries) {
        std::string name = platform::text::Lower1251(entry.name);
        if (!entry.isFolder && name.find(".chm") != std::string::npos)
            names.push_back(std::move(name));
    }
    return names;
}

// Unpacks one file into its new folder; false when the clipboard refused the
// folder's path, which ends the step.
bool GiveFolder(platform::HostUi& host, std::string_view workPattern, const std::string& chmName)
{
    const std::string base = chmName.substr(0, chmName.rfind('.'));
    const std::string folder = FolderPath(workPattern, base);
    // An existing folder (one with a dot never counts as unpacked) already
    // holds what an earlier scan put there; it is neither refilled nor removed.
    if (platform::files::IsFolder(folder) || !platform::files::CreateFolder(folder))
        return true;
    const std::string hostFolder = platform::paths::ToHost(folder);
    if (!host.SetClipboardText(platform::text::To1251FromUtf8(hostFolder))) {
        platform::files::RemoveFolder(folder);
        return false;
    }

    const std::string hostTool = platform::paths::ToHost(platform::files::CurrentDirectory() + "\\hhw.exe");
    if (platform::process::IsExecutable(hostTool))
        platform::process::RunAndWait(hostTool, {"hhw.exe"});
    else
        UnpackCompiledHelp(platform::paths::ToHost(FolderPath(workPattern, chmName)), hostFolder);

    if (IsEmptyFolder(folder))
        platform::files::RemoveFolder(folder);
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
