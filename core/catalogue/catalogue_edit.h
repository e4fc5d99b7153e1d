// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue editor's rules without a window: growing the catalogue by one
// entry, and the changes the editor's buttons make to the frame's catalogue at
// once. Only OK in the editor gets them stored (the frame's command does that).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/catalogue/journal_catalogue.h"

namespace platform {
class HostUi;
}

/// Copies one entry; throws std::bad_alloc when memory runs out.
using CatalogueEntryCopy = std::function<JournalKind(const JournalKind&)>;

/// Replaces the entries by `newCount` entries: the old ones copied, the rest
/// empty. When a copy fails for lack of memory, the box "Ошибка   i = %d  n = %d"
/// (the failing index, the number of entries to copy) is shown, copying stops
/// and the entries from that index on come out empty. `copy` replaces the plain
/// copy (tests inject a failure).
void GrowCatalogue(JournalCatalogue& catalogue, std::size_t newCount, platform::HostUi& host,
                   const CatalogueEntryCopy& copy = nullptr);

/// The editor's fields that outlive its window, and its edits. The catalogue
/// is the frame's; it changes at once, nothing is validated.
class CatalogueEditor {
public:
    CatalogueEditor(JournalCatalogue& catalogue, platform::HostUi& host) : catalogue_(catalogue), host_(host) {}

    const JournalCatalogue& catalogue() const { return catalogue_; }

    /// A row of the list was selected: its entry becomes current and the texts
    /// show its contents path and display name.
    void Select(int row);

    /// Appends an entry with this folder prefix, exactly as typed, and makes it
    /// current; the texts are left as they are. An empty name adds nothing.
    /// True when an entry was added.
    bool Add(const std::string& folderName);

    /// Removes the current entry and empties the texts; nothing is current
    /// afterwards. The removed row, or nothing when no entry was current.
    std::optional<int> Delete();

    /// Takes the edits' texts and stores them into the current entry (if any).
    void Apply(const std::string& path, const std::string& name);

    bool HasCurrent() const { return currentKind && *currentKind >= 0 && *currentKind < catalogue_.kindCount(); }

    std::string pathText;          ///< shown in the contents-path edit
    std::string nameText;          ///< shown in the display-name edit
    std::optional<int> currentKind;  ///< the entry the edits belong to

private:
    JournalCatalogue& catalogue_;
    platform::HostUi& host_;
};
