# SPDX-License-Identifier: GPL-3.0-or-later
# The core: every rule that needs no window, one folder per subsystem; no wx
# header here.
list(APPEND VESTRELS_CORE_SOURCES
  core/catalogue/catalogue_edit.cpp
  core/catalogue/catalogue_folders.cpp
  core/catalogue/journal_catalogue.cpp
  core/favorites/favorites_export.cpp
  core/favorites/favorites_file.cpp
  core/favorites/favorites_ops.cpp
  core/favorites/favorites_store.cpp
  core/library/article_target.cpp
  core/library/chm_archive.cpp
  core/library/compiled_help.cpp
  core/library/contents_parser.cpp
  core/library/discovery.cpp
  core/library/library.cpp
  core/library/title_parts.cpp
  core/search/first_pass.cpp
  core/search/parallel_text_search.cpp
  core/search/search_engine.cpp
  core/search/search_page_rules.cpp
  core/search/text_search_worker.cpp
  core/session/reader_session.cpp
  core/settings/font_selection.cpp
  core/settings/placement.cpp
  core/settings/program_arguments.cpp
  core/settings/readme_location.cpp
  core/settings/settings_store.cpp
  core/view/article_layout.cpp
  core/view/font_request.cpp
  core/view/spoken_entries.cpp
  core/view/text_wrap.cpp
  core/view/view_scroll.cpp
  core/view/view_selection.cpp
)
