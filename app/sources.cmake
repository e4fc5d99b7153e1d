# SPDX-License-Identifier: GPL-3.0-or-later
list(APPEND VESTRELS_CORE_SOURCES
  app/settings_store.cpp
  app/journal_catalogue.cpp
  app/catalogue_folders.cpp
  app/placement.cpp
  app/readme_location.cpp
  app/program_arguments.cpp)
list(APPEND VESTRELS_GUI_SOURCES
  app/quillbox_app.cpp
  app/quillbox_doc.cpp
  app/main_frame.cpp
  app/main_frame_bars.cpp
  app/main_frame_commands.cpp)
