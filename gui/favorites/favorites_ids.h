// SPDX-License-Identifier: GPL-3.0-or-later
// Control ids of the favourites page and its dialogs, with the program's
// fixed values.
#pragma once

enum FavoritesPageId { ID_SECTION_LIST = 1012 };
enum SectionDlgId { ID_SECTION_NAME = 1007 };
enum DeleteConfirmDlgId { ID_DELETE_TITLE = 1023 };

/// Gives the resources' control names their fixed ids; safe to run again.
/// Each favourites window runs it before loading its resource, so the
/// subsystem needs nothing from the application's start-up.
void RegisterFavoritesResourceIds();
