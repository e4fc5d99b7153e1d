// The working directory and the issue folders found in it.
#pragma once

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

enum class DiscoveryResult { Done, RequestLimitReached };

/// Asks for the working directory and stores it as "Journals". The sixth
/// request counted since start (or since a reset) asks nothing and reports
/// RequestLimitReached; the program then ends with exit status 1.
DiscoveryResult ChooseWorkingDirectory(platform::HostUi& host, const platform::registry::Key& settingsKey,
                                       bool resetCounter, std::string& workPattern);

/// Gives each ".chm" file of the working directory a folder and has it
/// unpacked there.
void PrepareCompiledHelpIssues(platform::HostUi& host, std::string_view workPattern);

/// Finds the working directory and its issue folders, in library order, with
/// their captions, and parses every issue's table of contents.
/// `currentDirectory` is the internal form of the process's current folder.
DiscoveryResult DiscoverIssues(platform::HostUi& host, JournalCatalogue& catalogue, Library& library,
                               std::string_view currentDirectory);

/// "Journals" as stored, in the internal form ("/" separators read as "\");
/// empty when missing or too long.
std::string ReadStoredWorkPattern();
