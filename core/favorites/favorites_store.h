// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites: named sections of chosen articles, and their file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/issue_record.h"

struct TSelected {
    std::string title;  ///< may hold one CR LF followed by the annotation
    std::string link;   ///< complete path or address
    std::int32_t mark = kMarkPlain;
    HitRect hitRect;
};

struct TSelectedFolder {
    std::string name;
    std::vector<TSelected> articles;
    std::int32_t count() const { return static_cast<std::int32_t>(articles.size()); }
};

struct FavoritesStore {
    std::vector<TSelectedFolder> sections;
};

/// The bytes of a store in the layout of "SelFold.dat".
std::string SerializeFavorites(const FavoritesStore& store);

/// Reads the bytes of "SelFold.dat". `damaged` tells whether anything was
/// dropped: impossible counts, cut headers, records without a title or link
/// or with control bytes in the title (which the program never writes),
/// sections left without articles. No count is
/// trusted beyond what the bytes could hold, so what is allocated stays a
/// small multiple of their size.
FavoritesStore ParseFavorites(std::string_view bytes, bool* damaged = nullptr);
