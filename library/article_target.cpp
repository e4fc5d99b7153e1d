// The fixed rules that join the working directory, the issue folder and a
// link from a table of contents into the target handed to the desktop.

#include "library/article_target.h"

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

/// A link from the issue's contents page, resolved against its folder.
std::string RelativeTarget(const std::string& folder, std::string_view link)
{
    if (Contains(link, "http") || Contains(link, "file:"))
        return std::string(link);
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

}  // namespace

std::optional<std::string> ArticleTarget(const Library& library, int selectedIssue, std::string_view link,
                                         bool relative)
{
    if (selectedIssue < 0)
        return std::nullopt;
    // A stored link is complete; selectedIssue then names a favourites
    // section, which need not be an issue index.
    if (!relative)
        return std::string(link);
    if (selectedIssue >= library.issueCount())
        return std::nullopt;
    const std::string folder =
        FolderPath(library.workPattern, library.folderNames[static_cast<std::size_t>(selectedIssue)]);
    return RelativeTarget(folder, link);
}

void OpenArticle(platform::HostUi& host, const Library& library, int selectedIssue, std::string link,
                 bool relative)
{
    if (const std::optional<std::string> target = ArticleTarget(library, selectedIssue, link, relative))
        host.OpenTarget(*target);
}
