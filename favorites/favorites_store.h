// The favourites: named sections of chosen articles, and their file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/issue_record.h"

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

/// Reads the bytes of "SelFold.dat". `damaged` tells whether the bytes held
/// more than could be read whole (impossible counts, cut headers).
FavoritesStore ParseFavorites(std::string_view bytes, bool* damaged = nullptr);

/// Loads the file (host path), creating an empty one when it is missing.
/// Remembers a damaged file so that the first save keeps it as ".bak".
class FavoritesFile {
public:
    explicit FavoritesFile(std::string hostPath);
    FavoritesStore Load();
    /// Saves through a synced temporary file renamed over the old one.
    bool Save(const FavoritesStore& store);

private:
    std::string path_;
    bool keepBackup_ = false;
};
