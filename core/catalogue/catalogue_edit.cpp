// SPDX-License-Identifier: GPL-3.0-or-later
// Growing the catalogue and the editor's edits.
#include "core/catalogue/catalogue_edit.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/host_ui.h"
#include "platform/text1251.h"

void GrowCatalogue(JournalCatalogue& catalogue, std::size_t newCount, platform::HostUi& host,
                   const CatalogueEntryCopy& copy)
{
    const std::size_t toCopy = std::min(catalogue.entries.size(), newCount);
    std::vector<JournalKind> grown(newCount);
    for (std::size_t i = 0; i < toCopy; ++i) {
        try {
            grown[i] = copy ? copy(catalogue.entries[i]) : catalogue.entries[i];
        } catch (const std::bad_alloc&) {
            const std::string text = Cp1251("Ошибка   i = ") + std::to_string(i) +
                                     "  n = " + std::to_string(toCopy);
            host.ShowMessage(text, "Vestrels", platform::MessageIcon::None, platform::MessageButtons::Ok);
            break;
        }
    }
    catalogue.entries = std::move(grown);
}

void CatalogueEditor::Select(int row)
{
    if (row < 0 || row >= catalogue_.kindCount())
        return;
    currentKind = row;
    pathText = catalogue_.entries[static_cast<std::size_t>(row)].contentsPath;
    nameText = catalogue_.entries[static_cast<std::size_t>(row)].displayName;
}

bool CatalogueEditor::Add(const std::string& folderName)
{
    if (folderName.empty())
        return false;
    const std::size_t count = catalogue_.entries.size();
    currentKind = static_cast<int>(count);
    GrowCatalogue(catalogue_, count + 1, host_);
    catalogue_.entries.back().prefix = folderName;
    return true;
}

std::optional<int> CatalogueEditor::Delete()
{
    if (!HasCurrent())
        return std::nullopt;
    const int row = *currentKind;
    catalogue_.entries.erase(catalogue_.entries.begin() + row);
    pathText.clear();
    nameText.clear();
    currentKind.reset();
    return row;
}

void CatalogueEditor::Apply(const std::string& path, const std::string& name)
{
    pathText = path;
    nameText = name;
    if (!HasCurrent())
        return;
    JournalKind& kind = catalogue_.entries[static_cast<std::size_t>(*currentKind)];
    kind.contentsPath = pathText;
    kind.displayName = nameText;
}
