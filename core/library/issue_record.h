// SPDX-License-Identifier: GPL-3.0-or-later
// An issue's table of contents as the parser reads it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kEntriesPerIssue = 100;

struct HitRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const HitRect&) const = default;
};

enum EntryMark : std::int32_t { kMarkPlain = 0, kMarkFound = 1, kMarkSelected = 2 };

struct ArticleEntry {
    std::string title;  ///< five blanks and the cleaned text; empty for a free slot
    std::string link;   ///< as written in the page; empty for a section heading
    HitRect hitRect;    ///< where the view last drew the title
    std::int32_t mark = kMarkPlain;  ///< written by the search worker too: access with std::atomic_ref
};

struct IssueRecord {
    std::string caption;
    std::array<ArticleEntry, kEntriesPerIssue> articles;
    std::uint8_t matched = 0;
};
