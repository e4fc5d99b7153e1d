# SPDX-License-Identifier: GPL-3.0-or-later
list(APPEND VESTRELS_CORE_SOURCES
  search/first_pass.cpp
  search/parallel_text_search.cpp
  search/search_engine.cpp
  search/search_page_rules.cpp
  search/text_search_worker.cpp)
list(APPEND VESTRELS_GUI_SOURCES
  search/search_page.cpp
  search/search_progress_dlg.cpp)
