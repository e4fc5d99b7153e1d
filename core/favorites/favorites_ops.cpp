// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites operations: the exact-size reallocations with their
// diagnostics, adding and removing, the stored-link rules and the cleaning
// that keeps every stored text readable from "SelFold.dat".
#include "core/favorites/favorites_ops.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/library/article_target.h"
#include "platform/paths.h"
#include "platform/text1251.h"

namespace {

constexpr const char* kFolderPattern = "AddFolder/AddMem/TSelectedFolder   i = %d  old = %d";
constexpr const char* kArticlePattern = "AddFolder/AddMem/TSelected   i = %d  old = %d";

void Report(const MemHooks& hooks, const char* pattern, std::size_t i, std::size_t old)
{
    if (!hooks.report)
        return;
    char text[96];
    std::snprintf(text, sizeof text, pattern, static_cast<int>(i), static_cast<int>(old));
    hooks.report(text);
}

/// Copies the elements of `old` except `skipped` into `fresh` in order with
/// `copy`; the first failed copy is reported and ends the copying.
template <class T, class Copy>
void CopyKept(const std::vector<T>& old, std::vector<T>& fresh, std::optional<std::size_t> skipped,
              const MemHooks& hooks, const char* pattern, Copy copy)
{
    std::size_t to = 0;
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (skipped && i == *skipped)
            continue;
        try {
            if (hooks.beforeCopy)
                hooks.beforeCopy(i);
            copy(fresh[to], old[i]);
        } catch (...) {
            if (pattern)
                Report(hooks, pattern, i, old.size());
            return;
        }
        ++to;
    }
}

/// Sections: the names are copied (and may fail), the article arrays are
/// references handed over whole, so every section keeps its articles even
/// when a name was lost.
void ReallocateSections(FavoritesStore& store, std::size_t newCount, std::optional<std::size_t> skipped,
                        const MemHooks& hooks)
{
    std::vector<TSelectedFolder> fresh(newCount);
    CopyKept(store.sections, fresh, skipped, hooks, kFolderPattern,
             [](TSelectedFolder& to, const TSelectedFolder& from) { to.name = from.name; });
    std::size_t to = 0;
    for (std::size_t i = 0; i < store.sections.size(); ++i) {
        if (skipped && i == *skipped)
            continue;
        fresh[to++].articles = std::move(store.sections[i].articles);
    }
    store.sections = std::move(fresh);
}

void ReallocateArticles(TSelectedFolder& section, std::size_t newCount, std::optional<std::size_t> skipped,
                        const char* pattern, const MemHooks& hooks)
{
    std::vector<TSelected> fresh(newCount);
    // The hit rectangle is the view's to write at the next paint.
    CopyKept(section.articles, fresh, skipped, hooks, pattern, [](TSelected& to, const TSelected& from) {
        to.title = from.title;
        to.link = from.link;
        to.mark = from.mark;
    });
    section.articles = std::move(fresh);
}

bool Contains(std::string_view text, std::string_view token)
{
    return text.find(token) != std::string_view::npos;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string result;
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
        result.append(text.substr(start, at - start)).append(to);
        start = at + from.size();
    }
    result.append(text.substr(start));
    return result;
}

bool ExistsOnDisk(const std::string& internalPath)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(platform::paths::ToHost(internalPath), ec);
}

std::vector<std::string_view> SplitSegments(std::string_view path)
{
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (i > start)
                segments.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return segments;
}

}  // namespace

void AddMemSectionGrow(FavoritesStore& store, const MemHooks& hooks)
{
    ReallocateSections(store, store.sections.size() + 1, std::nullopt, hooks);
}

void AddMemSectionRemove(FavoritesStore& store, std::size_t index, const MemHooks& hooks)
{
    if (index < store.sections.size())
        ReallocateSections(store, store.sections.size() - 1, index, hooks);
}

void AddMemArticleGrow(TSelectedFolder& section, const MemHooks& hooks)
{
    ReallocateArticles(section, section.articles.size() + 1, std::nullopt, kArticlePattern, hooks);
}

void AddMemArticleRemove(TSelectedFolder& section, std::size_t index, const MemHooks& hooks)
{
    // The removal reports under the section's name, as it always has.
    if (index < section.articles.size())
        ReallocateArticles(section, section.articles.size() - 1, index, kFolderPattern, hooks);
}

std::string CleanFavoriteTitle(std::string_view title)
{
    // Lone CR and LF, and zero bytes (which would cut a line short), first.
    std::string flat(title);
    for (std::size_t i = 0; i < flat.size(); ++i) {
        const bool pairStart = flat[i] == '\r' && i + 1 < flat.size() && flat[i + 1] == '\n';
        const bool pairEnd = flat[i] == '\n' && i > 0 && title[i - 1] == '\r';
        if ((flat[i] == '\r' && !pairStart) || (flat[i] == '\n' && !pairEnd) || flat[i] == '\0')
            flat[i] = ' ';
    }
    if (flat.empty())
        return flat;
    // Then the lines: an empty one would end the title when read back, and the
    // file keeps only the first line break.
    std::string clean;
    std::size_t line = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = flat.find("\r\n", start);
        std::string_view text = std::string_view(flat).substr(start, end == std::string::npos ? end : end - start);
        if (line == 1)
            clean.append("\r\n");
        clean.append(text.empty() ? std::string_view(" ") : text);
        ++line;
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return clean;
}

std::string TitleOnOneLine(std::string_view title)
{
    return ReplaceAll(title, "\r\n", " / ");
}

std::string CleanFavoriteLine(std::string_view text)
{
    std::string clean(text);
    for (char& c : clean)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return clean;
}

std::string StoredLinkFor(const Library& library, int issue, std::string_view link)
{
    if (Contains(link, "http") || Contains(link, "file:"))
        return CleanFavoriteLine(link);
    // The path that opening the entry opens ("main.htm" and the "boss"
    // folder included), so a favourite opens what the issue opened.
    const std::optional<platform::shell::Target> target = ArticleTarget(library, issue, link, true);
    return CleanFavoriteLine(target ? target->text : std::string());
}

std::size_t AddFolder(FavoritesStore& store, std::string_view name, const MemHooks& hooks)
{
    AddMemSectionGrow(store, hooks);
    TSelectedFolder& section = store.sections.back();
    section.name = CleanFavoriteLine(name);
    AddMemArticleGrow(section, hooks);
    return store.sections.size() - 1;
}

AddResult AddFavorite(FavoritesStore& store, std::string_view chosenName, std::string_view title,
                      std::string_view storedLink, const MemHooks& hooks)
{
    const std::string cleanTitle = CleanFavoriteTitle(title);
    // A record without a link reads back as damage.
    if (cleanTitle.empty() || storedLink.empty())
        return {AddOutcome::Refused, -1};
    const std::string name = CleanFavoriteLine(chosenName);
    std::size_t chosen = store.sections.size();
    for (std::size_t i = 0; i < store.sections.size(); ++i) {
        if (store.sections[i].name == name) {
            chosen = i;
            break;
        }
    }
    if (chosen == store.sections.size()) {
        chosen = AddFolder(store, name, hooks);
    } else {
        TSelectedFolder& section = store.sections[chosen];
        for (const TSelected& article : section.articles)
            if (article.title == cleanTitle)
                return {AddOutcome::Duplicate, static_cast<int>(chosen)};
        AddMemArticleGrow(section, hooks);
    }
    TSelected& added = store.sections[chosen].articles.back();
    added.title = cleanTitle;
    added.link = CleanFavoriteLine(storedLink);
    added.mark = kMarkPlain;
    return {AddOutcome::Added, static_cast<int>(chosen)};
}

bool RemoveFavorite(FavoritesStore& store, std::size_t section, std::size_t article, const MemHooks& hooks)
{
    if (section >= store.sections.size())
        return false;
    TSelectedFolder& folder = store.sections[section];
    AddMemArticleRemove(folder, article, hooks);
    if (!folder.articles.empty())
        return false;
    AddMemSectionRemove(store, section, hooks);
    return true;
}

FavoritesChange AddChange(std::string chosenName, std::string title, std::string storedLink, MemHooks hooks,
                          std::shared_ptr<AddResult> result)
{
    return [=](FavoritesStore& store) { *result = AddFavorite(store, chosenName, title, storedLink, hooks); };
}

FavoritesChange RemoveChange(std::string sectionName, std::string title, std::string link, MemHooks hooks,
                             std::shared_ptr<bool> sectionRemoved)
{
    return [=](FavoritesStore& store) {
        *sectionRemoved = false;
        for (std::size_t s = 0; s < store.sections.size(); ++s) {
            if (store.sections[s].name != sectionName)
                continue;
            const std::vector<TSelected>& articles = store.sections[s].articles;
            for (std::size_t a = 0; a < articles.size(); ++a) {
                if (articles[a].title == title && articles[a].link == link) {
                    *sectionRemoved = RemoveFavorite(store, s, a, hooks);
                    return;
                }
            }
            return;
        }
    };
}

namespace {

TSelectedFolder* SectionNamed(FavoritesStore& store, std::string_view name)
{
    for (TSelectedFolder& section : store.sections)
        if (section.name == name)
            return &section;
    return nullptr;
}

}  // namespace

void CarryMarks(const FavoritesStore& old, FavoritesStore& fresh)
{
    // Only the shown section holds marks: the walk costs little however
    // many sections there are.
    for (const TSelectedFolder& section : old.sections) {
        for (const TSelected& article : section.articles) {
            if (article.mark == kMarkPlain)
                continue;
            if (TSelectedFolder* same = SectionNamed(fresh, section.name))
                for (TSelected& candidate : same->articles)
                    if (candidate.title == article.title && candidate.link == article.link)
                        candidate.mark = article.mark;
        }
    }
}

int SameSectionIn(const FavoritesStore& old, int index, const FavoritesStore& fresh)
{
    if (index < 0 || static_cast<std::size_t>(index) >= old.sections.size())
        return -1;
    for (std::size_t i = 0; i < fresh.sections.size(); ++i)
        if (fresh.sections[i].name == old.sections[static_cast<std::size_t>(index)].name)
            return static_cast<int>(i);
    return -1;
}

bool SameSectionNames(const FavoritesStore& a, const FavoritesStore& b)
{
    return std::equal(a.sections.begin(), a.sections.end(), b.sections.begin(), b.sections.end(),
                      [](const TSelectedFolder& x, const TSelectedFolder& y) { return x.name == y.name; });
}

int SelectedArticleOf(const FavoritesStore& store, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= store.sections.size())
        return -1;
    const std::vector<TSelected>& articles = store.sections[static_cast<std::size_t>(index)].articles;
    for (std::size_t i = 0; i < articles.size(); ++i)
        if (articles[i].mark == kMarkSelected)
            return static_cast<int>(i);
    return -1;
}

bool IsDriveLetterPath(std::string_view link)
{
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return link.size() >= 3 && letter(link[0]) && link[1] == ':' && (link[2] == '\\' || link[2] == '/');
}

namespace {

/// "%XX" sequences of a file URL as the bytes they stand for.
std::string PercentDecoded(std::string_view text)
{
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

/// The folders and file of a path on a Windows machine: "D:\...", a network
/// path "\\server\share\..." or a URL "file:///D:/...". Nothing for any
/// other link.
std::optional<std::string> WindowsPathOf(std::string_view link)
{
    if (IsDriveLetterPath(link))
        return std::string(link.substr(3));
    if (link.starts_with("\\\\") || link.starts_with("//"))
        return std::string(link.substr(2));
    for (std::string_view scheme : {"file:///", "file://"}) {
        if (link.size() > scheme.size() && platform::text::Lower1251(link.substr(0, scheme.size())) == scheme) {
            const std::string rest = PercentDecoded(link.substr(scheme.size()));
            if (IsDriveLetterPath(rest))
                return rest.substr(3);
        }
    }
    return std::nullopt;
}

/// The same page inside the working directory: the issue folder is the last
/// folder of the path that names one of the library's issues, and what
/// follows it is the path inside the issue.
std::optional<std::string> LocalCopyOf(const Library& library, std::string_view windowsPath,
                                       const std::function<bool(const std::string& internalPath)>& exists)
{
    const std::vector<std::string_view> segments = SplitSegments(windowsPath);
    for (std::size_t k = segments.size() > 0 ? segments.size() - 1 : 0; k-- > 0;) {
        const std::string folder = platform::text::Lower1251(segments[k]);
        for (const std::string& name : library.folderNames) {
            if (name != folder)
                continue;
            std::string candidate = FolderPath(library.workPattern, name);
            for (std::size_t rest = k + 1; rest < segments.size(); ++rest)
                candidate.append("\\").append(segments[rest]);
            if (exists(candidate))
                return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string ResolveStoredLink(const Library& library, std::string_view link,
                              const std::function<bool(const std::string& internalPath)>& exists)
{
    const std::string unchanged(link);
    const std::optional<std::string> windowsPath = WindowsPathOf(link);
    if (!windowsPath || (IsDriveLetterPath(link) && exists(unchanged)))
        return unchanged;
    return LocalCopyOf(library, *windowsPath, exists).value_or(unchanged);
}

StoredLinkToOpen LinkToOpen(const Library& library, std::string_view link,
                            const std::function<bool(const std::string& internalPath)>& exists)
{
    if (link.empty())
        return {std::nullopt, Cp1251("У этой статьи избранного нет ссылки: открывать нечего")};
    const std::string resolved = ResolveStoredLink(library, link, exists);
    // A path of another machine that has no copy here would reach the
    // desktop as a relative path.
    if (resolved == link && WindowsPathOf(link) && !(IsDriveLetterPath(link) && exists(resolved)))
        return {std::nullopt, Cp1251("Страница не найдена в рабочем каталоге: ") +
                                  std::string(link)};
    return {resolved, {}};
}

std::string ResolveStoredLink(const Library& library, std::string_view link)
{
    return ResolveStoredLink(library, link, ExistsOnDisk);
}

StoredLinkToOpen LinkToOpen(const Library& library, std::string_view link)
{
    return LinkToOpen(library, link, ExistsOnDisk);
}
