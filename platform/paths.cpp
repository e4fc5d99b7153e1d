// SPDX-License-Identifier: GPL-3.0-or-later
// Internal "\"-paths in 1251 to host paths in UTF-8, and back.
//
// Journals come from case-insensitive volumes and their pages link with any
// case, so each segment that does not exist under its exact name is looked up
// in its folder with the 1251 case table. A drive-like prefix such as "D:" is
// not special: it is an ordinary segment of a relative path. A wildcard "*"
// as the last segment is not expanded either (callers strip it).
#include "platform/paths.h"

#include "platform/text1251.h"

#include <algorithm>
#include <dirent.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace platform::paths {
namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

/// Calls `visit` with each segment of an internal path after the rules of a
/// Windows volume: empty and "." segments go, trailing dots of a name are
/// ignored (so "izone57." is "izone57" and "..." is "."), ".." stays.
template <class Visit>
void ForEachSegment(std::string_view path, Visit&& visit)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        std::string_view segment = path.substr(start, end - start);
        if (segment != "..") {
            while (!segment.empty() && segment.back() == '.')
                segment.remove_suffix(1);
        }
        if (!segment.empty())
            visit(segment);
        start = end + 1;
    }
}

std::vector<std::string> Segments(std::string_view path)
{
    std::vector<std::string> segments;
    ForEachSegment(path, [&](std::string_view segment) { segments.emplace_back(segment); });
    return segments;
}

std::string JoinHost(const std::string& base, const std::string& name)
{
    if (base.empty())
        return name;
    return base.back() == '/' ? base + name : base + "/" + name;
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

/// The host name of `segment` inside `folder`: the exact name when it exists,
/// else the entry that reads as the segment (exactly, then ignoring case).
std::optional<std::string> FindOnDisk(const std::string& folder, const std::string& segment)
{
    const std::string exact = NameToHost(segment);
    struct stat st;
    if (lstat(JoinHost(folder, exact).c_str(), &st) == 0)
        return exact;
    const std::vector<std::string> entries = FolderEntries(folder);
    for (const std::string& entry : entries)
        if (NameFromHost(entry) == segment)
            return entry;
    const std::string wanted = text::Lower1251(segment);
    for (const std::string& entry : entries)
        if (text::Lower1251(NameFromHost(entry)) == wanted)
            return entry;
    return std::nullopt;
}

}  // namespace

std::string ToHostAsWritten(std::string_view internalPath)
{
    std::string exact = !internalPath.empty() && IsSeparator(internalPath.front()) ? "/" : "";
    exact.reserve(internalPath.size() + 1);
    ForEachSegment(internalPath, [&](std::string_view segment) {
        if (!exact.empty() && exact.back() != '/')
            exact += '/';
        if (IsAscii(segment))
            exact += segment;
        else
            exact += NameToHost(segment);
    });
    return exact.empty() ? "." : exact;
}

std::string ToHost(std::string_view internalPath)
{
    const bool absolute = !internalPath.empty() && IsSeparator(internalPath.front());
    const std::vector<std::string> segments = Segments(internalPath);

    // Nearly every path names existing entries exactly: when the whole path
    // is there as written, so is each of its prefixes, and the lookup below
    // would keep every name; one lstat settles it without listing a folder.
    const std::string exact = ToHostAsWritten(internalPath);
    struct stat st;
    if (lstat(exact.c_str(), &st) == 0)
        return exact;

    std::string host = absolute ? "/" : "";
    bool stillOnDisk = true;  // below a missing segment nothing can be found
    for (const std::string& segment : segments) {
        std::string name;
        if (segment == "..") {
            name = segment;
        } else if (stillOnDisk) {
            auto found = FindOnDisk(host, segment);
            stillOnDisk = found.has_value();
            name = found ? *found : NameToHost(segment);
        } else {
            name = NameToHost(segment);
        }
        host = JoinHost(host, name);
    }
    return host.empty() ? "." : host;
}

std::string FromHost(std::string_view hostPath)
{
    std::string internal;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = hostPath.find('/', start);
        internal += NameFromHost(hostPath.substr(start, slash - start));
        if (slash == std::string_view::npos)
            return internal;
        internal += '\\';
        start = slash + 1;
    }
}

std::string NameFromHost(std::string_view hostName)
{
    // ASCII reads the same in both encodings.
    if (IsAscii(hostName))
        return std::string(hostName);
    return text::IsValidUtf8(hostName) ? text::To1251FromUtf8(hostName) : std::string(hostName);
}

std::string NameToHost(std::string_view name1251)
{
    if (IsAscii(name1251))
        return std::string(name1251);
    return text::Utf8From1251(name1251);
}

}  // namespace platform::paths
