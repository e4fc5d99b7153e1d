// SPDX-License-Identifier: GPL-3.0-or-later
// The working directory and the issue folders found in it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/catalogue_folders.h"
#include "core/catalogue/journal_catalogue.h"
#include "core/library/library.h"
#include "platform/host_ui.h"
#include "platform/registry.h"

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

/// The catalogue's distinct folder prefixes, lower-cased, in catalogue order,
/// joined by ", " (the words a folder name must contain to be an issue).
std::string PrefixesForDisplay(const JournalCatalogue& catalogue);

enum class DiscoveryResult { Done, RequestLimitReached };

/// The working-directory requests of one run, counted by whoever asks (the
/// frame for the program's run): the sixth shows the browser no more.
class WorkingDirectoryRequests {
public:
    /// Counts one request, first starting the count afresh when told; false
    /// when five were counted before it.
    bool Take(bool startAfresh);

private:
    int count_ = 0;
};

/// Asks for the working directory, opening the browser at the current one,
/// and stores it as "Journals". The sixth request counted in `requests` (since
/// it was made or started afresh) shows the browser no more: a message says
/// the program ends, and the result is RequestLimitReached; the program then
/// ends with exit status 1.
DiscoveryResult ChooseWorkingDirectory(platform::HostUi& host, JournalCatalogue& catalogue,
                                       const platform::registry::Key& settingsKey,
                                       WorkingDirectoryRequests& requests, bool resetCounter,
                                       std::string& workPattern);

/// Opens the catalogue editor from discovery; true when its OK stored a
/// changed catalogue, which the scan then uses.
using CatalogueRepair = std::function<bool()>;

/// The lower-cased names of the issue folders of the working directory, in
/// listing order; nothing when the folder cannot be listed. Asks nothing.
std::optional<std::vector<std::string>> ScanIssueFolders(JournalCatalogue& catalogue, std::string_view workPattern);

/// Puts the folders in library order and gives each an empty issue record
/// with its caption. Keeps the library's workPattern.
void BuildLibraryFrom(const JournalCatalogue& catalogue, Library& library, std::vector<std::string> folders);

/// Finds the working directory and its issue folders, in library order, with
/// their captions, and parses every issue's table of contents.
/// `currentDirectory` is the internal form of the process's current folder.
/// A folder that cannot be listed or holds no issue is named in a message
/// before the browser comes back; with `repair`, that message offers the
/// catalogue editor. A non-empty `workingDirectory` (internal form) is used
/// for this run in place of the stored one, which stays as it is.
DiscoveryResult DiscoverIssues(platform::HostUi& host, JournalCatalogue& catalogue, Library& library,
                               std::string_view currentDirectory, WorkingDirectoryRequests& requests,
                               const CatalogueRepair& repair = {},
                               std::string_view workingDirectory = {});
