// SPDX-License-Identifier: GPL-3.0-or-later
// Turns a link from a table of contents, or a favourite's stored link, into
// the target handed to the desktop.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/library/library.h"
#include "platform/host_ui.h"

/// The target for `link` of issue `selectedIssue`; nothing when no issue is
/// selected. A `relative` link is resolved against the issue folder. The kind
/// comes from the rule that built the target: only a link containing "http"
/// or "file:" is an address; whatever is joined to the working directory is a
/// file, whatever its folder names contain. A stored (not relative) link is a
/// file when it begins as an absolute path, since the paths stored with
/// favourites are built from the working directory; otherwise the same
/// address test applies.
std::optional<platform::shell::Target> ArticleTarget(const Library& library, int selectedIssue,
                                                     std::string_view link, bool relative);

/// The file a link of an issue's contents page names, `folder` being the
/// issue folder: the opening rules without the test for an address.
std::string IssueFilePath(const std::string& folder, std::string_view link);

/// Computes the target and hands it to the desktop.
void OpenArticle(platform::HostUi& host, const Library& library, int selectedIssue, std::string link,
                 bool relative);
