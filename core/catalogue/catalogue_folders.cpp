// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue's folder rules.
#include "core/catalogue/catalogue_folders.h"

#include <algorithm>

#include "platform/text1251.h"

namespace {

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

}  // namespace

bool IsCandidateIssueFolder(const platform::files::DirEntry& entry)
{
    return entry.isFolder && !Contains(entry.name, ".");
}

bool IsJournalFolder(JournalCatalogue& catalogue, std::string_view lowerName)
{
    // Every prefix is lowered, not only those before the first match, so the
    // catalogue's state does not depend on the order folders were looked at.
    for (JournalKind& kind : catalogue.entries)
        kind.prefix = platform::text::Lower1251(kind.prefix);
    return std::any_of(catalogue.entries.begin(), catalogue.entries.end(),
                       [&](const JournalKind& kind) { return Contains(lowerName, kind.prefix); });
}

bool IsIssueFolder(JournalCatalogue& catalogue, const platform::files::DirEntry& entry)
{
    return IsCandidateIssueFolder(entry) && IsJournalFolder(catalogue, platform::text::Lower1251(entry.name));
}

std::string IssueCaption(const JournalCatalogue& catalogue, std::string_view name)
{
    for (const JournalKind& kind : catalogue.entries) {
        const std::size_t at = name.find(kind.prefix);
        if (at != std::string_view::npos)
            return kind.displayName + std::string(name.substr(at + kind.prefix.size()));
    }
    return {};
}

std::string ContentsPathFor(const JournalCatalogue& catalogue, std::string_view name)
{
    // The early "release" issues keep their contents where entry 0 says.
    const bool earlyRelease = name < std::string_view("release24") && name >= std::string_view("release-gold");
    std::string result;
    for (const JournalKind& kind : catalogue.entries) {
        if (!Contains(name, kind.prefix))
            continue;
        if (earlyRelease)
            return catalogue.entries.front().contentsPath;
        result = kind.contentsPath;
    }
    return result;
}
