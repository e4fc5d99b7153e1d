# SPDX-License-Identifier: GPL-3.0-or-later
list(APPEND VESTRELS_CORE_SOURCES
  config/catalogue_edit.cpp
  config/font_selection.cpp)
list(APPEND VESTRELS_GUI_SOURCES
  config/help_popup.cpp
  config/folder_name_dlg.cpp
  config/journals_dlg.cpp
  config/font_chooser_dlg.cpp
  config/font_target_dlg.cpp
  config/about_dlg.cpp)
