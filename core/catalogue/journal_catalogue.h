// SPDX-License-Identifier: GPL-3.0-or-later
// The journal catalogue: which folders are issues of which journal, and where
// each issue keeps its table of contents.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct JournalKind {
    std::string prefix;        ///< issue folder name without the number ("izone")
    std::string contentsPath;  ///< contents page inside the folder (".\frame\left.htm")
    std::string displayName;   ///< listed name; the caption is this plus the rest of the folder name
    bool operator==(const JournalKind&) const = default;
};

struct JournalCatalogue {
    std::vector<JournalKind> entries;
    int kindCount() const { return static_cast<int>(entries.size()); }
    bool operator==(const JournalCatalogue&) const = default;
};

/// The five kinds stored on the first start.
JournalCatalogue DefaultCatalogue();

/// Reads the catalogue from the settings; when no count is stored (or the
/// count is negative or above 10 000) installs the defaults and stores them.
JournalCatalogue LoadCatalogue();

/// The stored catalogue (a stored count of 0 reads as the defaults), or
/// nothing when no valid count is stored; stores nothing (the command-line
/// tool reads the settings without writing them).
std::optional<JournalCatalogue> ReadStoredCatalogue();

/// Writes "NumNameJournals" and the three lists. Failures are silent.
void StoreCatalogue(const JournalCatalogue& catalogue);

/// Writes what changed between `before` (as this copy last read or stored
/// it) and `after`: only the lists that differ, over the catalogue as it is
/// stored now, so that another running copy's changes to the other lists
/// stay. When the stored count differs from `after`'s (or none is stored),
/// all is written: lists of other lengths would tear the catalogue apart.
void StoreChangedCatalogue(const JournalCatalogue& before, const JournalCatalogue& after);

/// The multi-string of one field of every entry, in catalogue order.
std::string CatalogueList(const JournalCatalogue& catalogue, std::string JournalKind::*field);
