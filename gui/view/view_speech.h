// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's entries handed to the screen reader's list.
#pragma once

#include "core/view/article_layout.h"
#include "platform/wx/article_accessible.h"

/// What the view shows for the current index, in UTF-8.
AccessibleList AccessibleArticles(bool issueMode, int currentIndex, const ArticleData& data);
