// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a favourites file. What was read must write out
// and read back to the same store.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/favorites/favorites_store.h"

namespace {

bool SameTexts(const FavoritesStore& a, const FavoritesStore& b)
{
    if (a.sections.size() != b.sections.size())
        return false;
    for (std::size_t s = 0; s < a.sections.size(); ++s) {
        const TSelectedFolder& x = a.sections[s];
        const TSelectedFolder& y = b.sections[s];
        if (x.name != y.name || x.count() != y.count())
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    bool damaged = false;
    const FavoritesStore store = ParseFavorites(bytes, &damaged);
    // Sections and their counts survive a save and a load; texts need not,
    // because the layout cannot hold every byte string.
    const FavoritesStore again = ParseFavorites(SerializeFavorites(store));
    if (!SameTexts(store, again))
        __builtin_trap();
    return 0;
}
