// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue's folder rules: which entries of the working directory are
// issue folders, what each is called and where its contents page lies. One
// home, so discovery, the contents parser, the unpacking and the tool agree.
#pragma once

#include <string>
#include <string_view>

#include "core/catalogue/journal_catalogue.h"
#include "platform/files.h"

/// An entry that may hold an issue whatever the catalogue says: a folder
/// whose name has no ".".
bool IsCandidateIssueFolder(const platform::files::DirEntry& entry);

/// Whether a lower-cased entry name belongs to a catalogued journal: some
/// prefix occurs anywhere in it. Lower-cases the catalogue's prefixes in place.
bool IsJournalFolder(JournalCatalogue& catalogue, std::string_view lowerName);

/// The issue-folder test: a candidate folder whose lower-cased name belongs
/// to a catalogued journal.
bool IsIssueFolder(JournalCatalogue& catalogue, const platform::files::DirEntry& entry);

/// Display name of the first kind whose prefix occurs in the name, followed by
/// the rest of the name after that prefix; empty when none matches.
std::string IssueCaption(const JournalCatalogue& catalogue, std::string_view name);

/// The contents path that applies to a folder (the early "release" issues
/// take entry 0's path, otherwise the last matching entry's).
std::string ContentsPathFor(const JournalCatalogue& catalogue, std::string_view name);
