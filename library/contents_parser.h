// SPDX-License-Identifier: GPL-3.0-or-later
// Cuts titles and links out of the issues' table-of-contents pages.
#pragma once

#include <string>
#include <string_view>

#include "app/journal_catalogue.h"
#include "library/library.h"
#include "platform/host_ui.h"

/// Removes leading blanks, shrinks runs of spaces and deletes character
/// references, in place.
void CleanTitle(std::string& text);

/// Fills an issue's entries from the bytes of its contents page.
void ParseContentsPage(std::string_view page, IssueRecord& issue);

/// Parses every issue of the library; a page that cannot be opened is
/// reported with "Ошибка открытия файла" and leaves its issue empty.
void ParseContents(platform::HostUi& host, const JournalCatalogue& catalogue, Library& library);

/// Internal path of an issue's contents page.
std::string ContentsFilePath(const JournalCatalogue& catalogue, const Library& library, int issue);
