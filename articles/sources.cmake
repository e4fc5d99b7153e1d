# SPDX-License-Identifier: GPL-3.0-or-later
list(APPEND VESTRELS_CORE_SOURCES
  articles/text_wrap.cpp
  articles/font_request.cpp
  articles/article_layout.cpp
  articles/view_scroll.cpp
  articles/view_selection.cpp
  articles/spoken_entries.cpp)
list(APPEND VESTRELS_GUI_SOURCES
  articles/wx_fonts.cpp
  articles/view_speech.cpp
  articles/quillbox_view.cpp)
