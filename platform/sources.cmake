# SPDX-License-Identifier: GPL-3.0-or-later
list(APPEND VESTRELS_PLATFORM_SOURCES
  platform/registry.cpp
  platform/regedit_file.cpp
  platform/text1251.cpp
  platform/paths.cpp
  platform/files.cpp
  platform/read_problem.cpp
  platform/file_lock.cpp
  platform/save_calls.cpp
  platform/process.cpp
  platform/shell.cpp)
list(APPEND VESTRELS_PLATFORM_WX_SOURCES
  platform/wx/wx_text.cpp
  platform/wx/wx_host_ui.cpp
  platform/wx/desktop_opener.cpp
  platform/wx/close_signals.cpp
  platform/wx/list_cursor.cpp
  platform/wx/fill_items.cpp
  platform/wx/desktop_setup.cpp
  platform/wx/article_accessible.cpp
  platform/wx/spoken_names.cpp
  platform/wx/text_scale.cpp)
