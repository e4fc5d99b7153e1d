// SPDX-License-Identifier: GPL-3.0-or-later
// The journal library: the working directory, its issue folders in library
// order and their parsed tables of contents.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/library/issue_record.h"

struct Library {
    std::string workPattern;               ///< the working directory followed by "\*"
    std::vector<std::string> folderNames;  ///< lower-cased, in library order
    std::vector<IssueRecord> issues;       ///< issue i is folderNames[i]

    int issueCount() const { return static_cast<int>(folderNames.size()); }
};

/// `workPattern` with its "*" replaced by `name`: a folder's path.
std::string FolderPath(std::string_view workPattern, std::string_view name);
