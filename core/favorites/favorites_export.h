// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites carried out of the program: the address a browser opens for
// a favourite, and a bookmarks file in the format web browsers import.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/favorites/favorites_store.h"
#include "core/library/library.h"

/// The URL (UTF-8) of a favourite's stored link: an address as it stands, a
/// file as a "file://" URL of its host path. A relative host path is taken
/// from `hostCurrentDir`; a drive-letter path that does not exist here (see
/// ResolveStoredLink) keeps its drive, as a browser on Windows reads it.
std::string FavoriteUrl(const Library& library, std::string_view link, const std::string& hostCurrentDir);

/// The store as a bookmarks file in the Netscape format (UTF-8): one folder
/// per section, one link per favourite named by its title proper, with its
/// annotation as the description.
std::string BookmarksHtml(const FavoritesStore& store, const std::function<std::string(std::string_view)>& urlOf);
