// SPDX-License-Identifier: GPL-3.0-or-later
// Cuts titles and links out of the issues' table-of-contents pages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/journal_catalogue.h"
#include "core/library/library.h"
#include "platform/host_ui.h"

/// Removes leading blanks, shrinks runs of spaces and deletes character
/// references, in place.
void CleanTitle(std::string& text);

/// Fills an issue's entries from the bytes of its contents page.
void ParseContentsPage(std::string_view page, IssueRecord& issue);

/// Parses every issue of the library; a page that cannot be read leaves its
/// issue empty. The issues whose page could not be read, in library order.
std::vector<int> ParseContentsPages(const JournalCatalogue& catalogue, Library& library);

/// ParseContentsPages, with each page that cannot be read reported with
/// "Ошибка открытия файла".
void ParseContents(platform::HostUi& host, const JournalCatalogue& catalogue, Library& library);

/// Internal path of an issue's contents page.
std::string ContentsFilePath(const JournalCatalogue& catalogue, const Library& library, int issue);
