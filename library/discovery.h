// SPDX-License-Identifier: GPL-3.0-or-later
// The working directory and the issue folders found in it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/journal_catalogue.h"
#include "library/library.h"
#include "platform/host_ui.h"
#include "platform/registry.h"

/// Whether a lower-cased entry name belongs to a catalogued journal: some
/// prefix occurs anywhere in it. Lower-cases the catalogue's prefixes in place.
bool IsJournalFolder(JournalCatalogue& catalogue, std::string_view lowerName);

/// Display name of the first kind whose prefix occurs in the name, followed by
/// the rest of the name after that prefix; empty when none matches.
std::string IssueCaption(const JournalCatalogue& catalogue, std::string_view name);

/// The contents path that applies to a folder (the early "release" issues
/// take entry 0's path, otherwise the last matching entry's).
std::string ContentsPathFor(const JournalCatalogue& catalogue, std::string_view name);

/// The four exchange passes that put the issue folders in library order.
void SortIssueFolders(std::vector<std::string>& folderNames);

/// The pattern for a folder the user picked: an issue folder (digits or "-"
/// in its final segment after its first character) stands for its parent.
std::string NormalizeWorkPattern(std::string_view chosenFolder);

/// The pattern for a folder the user picked: the folder itself when it holds
/// issue folders under the catalogue, whatever its name; otherwise as
/// NormalizeWorkPattern says.
std::string WorkPatternForChoice(JournalCatalogue& catalogue, std::string_view chosenFolder);

/// The folder of a pattern as the user reads it: "\home\u\j\*" gives "/home/u/j".
std::string FolderForDisplay(std::string_view workPattern);

/// An internal path as the user's system writes it ("/tmp/w/izone70/frame/left.htm"
/// for "\tmp\w\izone70.\frame\left.htm"), in 1251 for a message.
std::string PathForDisplay(std::string_view internalPath);

/// The catalogue's distinct folder prefixes, lower-cased, in catalogue order,
/// joined by ", " (the words a folder name must contain to be an issue).
std::string PrefixesForDisplay(const JournalCatalogue& catalogue);

enum class DiscoveryResult { Done, RequestLimitReached };

/// Asks for the working directory, opening the browser at the current one,
/// and stores it as "Journals". The sixth request counted since start (or
/// since a reset) shows the browser no more: a message says the program ends,
/// and the result is RequestLimitReached; the program then ends with exit
/// status 1.
DiscoveryResult ChooseWorkingDirectory(platform::HostUi& host, JournalCatalogue& catalogue,
                                       const platform::registry::Key& settingsKey, bool resetCounter,
                                       std::string& workPattern);

/// Opens the catalogue editor from discovery; true when its OK stored a
/// changed catalogue, which the scan then uses.
using CatalogueRepair = std::function<bool()>;

/// Starts the count of working-directory requests afresh (tests only).
void ResetWorkingDirectoryRequestsForTesting();

/// The lower-cased names of the issue folders of the working directory, in
/// listing order; nothing when the folder cannot be listed. Asks nothing.
std::optional<std::vector<std::string>> ScanIssueFolders(JournalCatalogue& catalogue, std::string_view workPattern);

/// Puts the folders in library order and gives each an empty issue record
/// with its caption. Keeps the library's workPattern.
void BuildLibraryFrom(const JournalCatalogue& catalogue, Library& library, std::vector<std::string> folders);

/// Gives each ".chm" file of the working directory that no folder stands for
/// a folder of its own (its path goes onto the clipboard) and unpacks it
/// there; no other program is ever started. Only regular files with a plain
/// name (no path separator, not dots only) are taken. The folder takes the
/// issue's name only when every object was written whole, with the host's
/// progress shown; a cancel leaves the issue out, a failure leaves nothing
/// and a message naming the archive and the reason. A folder of exactly the
/// archive's name is completed where it lacks objects or holds one cut
/// short. A medium that takes no folder is said once per process.
void PrepareCompiledHelpIssues(platform::HostUi& host, std::string_view workPattern);

/// Finds the working directory and its issue folders, in library order, with
/// their captions, and parses every issue's table of contents.
/// `currentDirectory` is the internal form of the process's current folder.
/// A folder that cannot be listed or holds no issue is named in a message
/// before the browser comes back; with `repair`, that message offers the
/// catalogue editor. A non-empty `workingDirectory` (internal form) is used
/// for this run in place of the stored one, which stays as it is.
DiscoveryResult DiscoverIssues(platform::HostUi& host, JournalCatalogue& catalogue, Library& library,
                               std::string_view currentDirectory, const CatalogueRepair& repair = {},
                               std::string_view workingDirectory = {});

/// "Journals" as stored, in the internal form ("/" separators read as "\");
/// empty when missing or too long.
std::string ReadStoredWorkPattern();
