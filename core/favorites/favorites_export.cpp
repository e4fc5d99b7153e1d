// SPDX-License-Identifier: GPL-3.0-or-later
// Favourites as browser bookmarks: the Netscape bookmark file that browsers
// import, with "file://" URLs for the pages on disk.
#include "core/favorites/favorites_export.h"

#include "core/favorites/favorites_ops.h"
#include "core/library/article_target.h"
#include "core/library/title_parts.h"
#include "platform/shell.h"
#include "platform/text1251.h"

namespace {

/// Every byte outside the unreserved characters and the path separator is
/// written as %XX, so blanks, "#" and "?" stay part of the file name.
std::string PercentEncodedPath(std::string_view utf8Path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : utf8Path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/' || c == ':';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

std::string HtmlEscaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string FavoriteUrl(const Library& library, std::string_view link, const std::string& hostCurrentDir)
{
    const std::string resolved = library.workPattern.empty() ? std::string(link) : ResolveStoredLink(library, link);
    // Index 0 only stands for "something is chosen": a stored link needs no issue.
    const std::optional<platform::shell::Target> target = ArticleTarget(library, 0, resolved, false);
    if (!target || target->kind == platform::shell::TargetKind::Address)
        return platform::text::Utf8From1251(resolved);
    if (IsDriveLetterPath(resolved)) {
        std::string windowsPath = platform::text::Utf8From1251(resolved);
        for (char& c : windowsPath)
            if (c == '\\')
                c = '/';
        return "file:///" + PercentEncodedPath(windowsPath);
    }
    std::string host = platform::shell::ToHostTarget(*target).value;
    if (!host.starts_with('/'))
        host = hostCurrentDir + (hostCurrentDir.ends_with('/') ? "" : "/") + host;
    return "file://" + PercentEncodedPath(host);
}

std::string BookmarksHtml(const FavoritesStore& store, const std::function<std::string(std::string_view)>& urlOf)
{
    const auto utf8 = [](std::string_view text) { return HtmlEscaped(platform::text::Utf8From1251(text)); };
    std::string out =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks</H1>\n"
        "<DL><p>\n";
    for (const TSelectedFolder& section : store.sections) {
        out += "    <DT><H3>" + utf8(section.name) + "</H3>\n";
        out += "    <DL><p>\n";
        for (const TSelected& article : section.articles) {
            const TitleParts parts = SplitTitle(article.title);
            out += "        <DT><A HREF=\"" + HtmlEscaped(urlOf(article.link)) + "\">" +
                   utf8(Trimmed(parts.titleProper)) + "</A>\n";
            if (parts.hasAnnotation)
                out += "        <DD>" + utf8(Trimmed(parts.annotation)) + "\n";
        }
        out += "    </DL><p>\n";
    }
    out += "</DL><p>\n";
    return out;
}
