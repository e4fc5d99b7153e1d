// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed rules that join the working directory, the issue folder and a
// link from a table of contents into the target handed to the desktop.

#include "core/library/article_target.h"

namespace {

bool Contains(std::string_view text, std::string_view token)
{
    return text.find(token) != std::string_view::npos;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to)
{
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        result.append(text, start, at - start).append(to);
        start = at + from.size();
    }
    result.append(text, start, std::string::npos);
    return result;
}

bool IsAddressLink(std::string_view link)
{
    return Contains(link, "http") || Contains(link, "file:");
}

/// "\...", "/..." or "D:...": an address begins with a scheme of more than one
/// letter.
bool BeginsAsAbsolutePath(std::string_view link)
{
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return link.starts_with('\\') || link.starts_with('/') ||
           (link.size() >= 2 && letter(link[0]) && link[1] == ':');
}

platform::shell::Target File(std::string path)
{
    return {platform::shell::TargetKind::File, std::move(path)};
}

/// A link from the issue's contents page, resolved against its folder.
platform::shell::Target RelativeTarget(const std::string& folder, std::string_view link)
{
    if (IsAddressLink(link))
        return {platform::shell::TargetKind::Address, std::string(link)};
    return File(IssueFilePath(folder, link));
}

/// A favourite's link, stored complete: a path built from the working
/// directory (which may contain "http" in a folder name) or an address link
/// stored unchanged.
platform::shell::Target StoredTarget(std::string_view link)
{
    if (!BeginsAsAbsolutePath(link) && IsAddressLink(link))
        return {platform::shell::TargetKind::Address, std::string(link)};
    return File(std::string(link));
}

}  // namespace

std::string IssueFilePath(const std::string& folder, std::string_view link)
{
    if (link.empty())
        return folder + "\\index.htm";
    if (Contains(link, "../"))
        return folder + ReplaceAll(ReplaceAll(std::string(link), "../", "\\"), "/", "\\");
    if (link == "main.htm")
        return folder + "\\frame\\main.htm";
    // Issues kept under such a path hold their article pages in "boss".
    if (Contains(folder, "mi"))
        return folder + "\\boss\\" + std::string(link);
    return folder + "\\" + std::string(link);
}

std::optional<platform::shell::Target> ArticleTarget(const Library& library, int selectedIssue,
                                                     std::string_view link, bool relative)
{
    if (selectedIssue < 0)
        return std::nullopt;
    // A stored link is complete; selectedIssue then names a favourites
    // section, which need not be an issue index.
    if (!relative)
        return StoredTarget(link);
    if (selectedIssue >= library.issueCount())
        return std::nullopt;
    const std::string folder =
        FolderPath(library.workPattern, library.folderNames[static_cast<std::size_t>(selectedIssue)]);
    return RelativeTarget(folder, link);
}

void OpenArticle(platform::HostUi& host, const Library& library, int selectedIssue, std::string link,
                 bool relative)
{
    if (const auto target = ArticleTarget(library, selectedIssue, link, relative))
        host.OpenTarget(*target);
}
