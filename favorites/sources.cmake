# SPDX-License-Identifier: GPL-3.0-or-later
list(APPEND VESTRELS_CORE_SOURCES
  favorites/favorites_export.cpp
  favorites/favorites_file.cpp
  favorites/favorites_ops.cpp
  favorites/favorites_store.cpp)
list(APPEND VESTRELS_GUI_SOURCES
  favorites/delete_confirm_dlg.cpp
  favorites/favorites_flows.cpp
  favorites/favorites_page.cpp
  favorites/section_dlg.cpp)
