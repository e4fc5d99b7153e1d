// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and storing the journal catalogue.
#include "core/catalogue/journal_catalogue.h"

#include <cstdint>

#include "core/settings/settings_store.h"
#include "platform/le32.h"
#include "platform/registry.h"

namespace reg = platform::registry;

namespace {

// A stored count outside this range cannot come from the program and is taken
// as missing, so that no absurd allocation follows.
constexpr std::int64_t kMaxKindCount = 10000;

std::optional<std::int64_t> ReadKindCount(const reg::Key& key)
{
    std::string data;
    if (reg::QueryValue(key, "NumNameJournals", 4, data) != reg::QueryResult::Ok)
        return std::nullopt;
    data.resize(4, '\0');
    const auto count = static_cast<std::int32_t>(platform::GetLe32(data));
    if (count < 0 || count > kMaxKindCount)
        return std::nullopt;
    return count;
}

// A list is read whole, whatever its length, so that nothing written by a
// later version is lost; an unreadable list leaves the field empty.
void ReadList(const reg::Key& key, const char* name, JournalCatalogue& catalogue, std::string JournalKind::*field)
{
    std::string data;
    if (reg::QueryValue(key, name, SIZE_MAX, data) != reg::QueryResult::Ok)
        return;
    const auto items = MultiStringItems(data, catalogue.entries.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        catalogue.entries[i].*field = items[i];
}

}  // namespace

JournalCatalogue DefaultCatalogue()
{
    return {{
        {"release", ".\\pages\\materials.htm", "InternetZone"},
        {"release", ".\\frame\\left.htm", "InternetZone"},
        {"gold", ".\\frame\\left.htm", "InternetZone"},
        {"izone", ".\\frame\\left.htm", "InternetZone"},
        {"ProtoPlex", ".\\mainbody\\menu.html", "ProtoPlex"},
    }};
}

std::optional<JournalCatalogue> ReadStoredCatalogue()
{
    auto key = reg::OpenKey(kSettingsKey);
    if (!key)
        return std::nullopt;
    auto count = ReadKindCount(*key);
    if (!count)
        return std::nullopt;
    // No folder is an issue under an empty catalogue: the user would be
    // asked for folders until the program ends, at every start.
    if (*count == 0)
        return DefaultCatalogue();
    JournalCatalogue catalogue;
    catalogue.entries.resize(static_cast<std::size_t>(*count));
    ReadList(*key, "NameJournals", catalogue, &JournalKind::prefix);
    ReadList(*key, "NameContents", catalogue, &JournalKind::contentsPath);
    ReadList(*key, "NewName", catalogue, &JournalKind::displayName);
    return catalogue;
}

JournalCatalogue LoadCatalogue()
{
    if (auto stored = ReadStoredCatalogue())
        return *stored;
    JournalCatalogue defaults = DefaultCatalogue();
    StoreCatalogue(defaults);
    return defaults;
}

std::string CatalogueList(const JournalCatalogue& catalogue, std::string JournalKind::*field)
{
    std::string text;
    for (const JournalKind& kind : catalogue.entries)
        text += kind.*field + "\r\n";
    return ToMultiString(text);
}

namespace {

constexpr std::pair<const char*, std::string JournalKind::*> kLists[] = {
    {"NameJournals", &JournalKind::prefix},
    {"NameContents", &JournalKind::contentsPath},
    {"NewName", &JournalKind::displayName},
};

}  // namespace

void StoreChangedCatalogue(const JournalCatalogue& before, const JournalCatalogue& after)
{
    if (before == after)
        return;
    const std::optional<JournalCatalogue> stored = ReadStoredCatalogue();
    if (!stored || stored->kindCount() != after.kindCount()) {
        StoreCatalogue(after);
        return;
    }
    for (const auto& [name, field] : kLists) {
        const std::string list = CatalogueList(after, field);
        if (list != CatalogueList(before, field) && list != CatalogueList(*stored, field)) {
            if (auto key = reg::CreateKey(kSettingsKey))
                reg::SetValue(*key, name, reg::ValueType::MultiSz, list);
        }
    }
}

void StoreCatalogue(const JournalCatalogue& catalogue)
{
    if (auto key = reg::CreateKey(kSettingsKey)) {
        const auto count = static_cast<std::uint32_t>(catalogue.kindCount());
        reg::SetValue(*key, "NumNameJournals", reg::ValueType::Dword, platform::Le32Bytes(count));
    }
    for (const auto& [name, field] : kLists) {
        if (auto key = reg::CreateKey(kSettingsKey))
            reg::SetValue(*key, name, reg::ValueType::MultiSz, CatalogueList(catalogue, field));
    }
}
