# SPDX-License-Identifier: GPL-3.0-or-later
list(APPEND VESTRELS_CORE_SOURCES
  library/library.cpp
  library/discovery.cpp
  library/compiled_help.cpp
  library/chm_archive.cpp
  library/contents_parser.cpp
  library/article_target.cpp
  library/title_parts.cpp
  library/reader_session.cpp)
list(APPEND VESTRELS_GUI_SOURCES
  library/contents_page.cpp)
