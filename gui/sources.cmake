# SPDX-License-Identifier: GPL-3.0-or-later
# The window code: the frame, the left pane and its pages, the article view
# and the dialogs.
list(APPEND VESTRELS_GUI_SOURCES
  gui/config/about_dlg.cpp
  gui/config/folder_name_dlg.cpp
  gui/config/font_chooser_dlg.cpp
  gui/config/font_target_dlg.cpp
  gui/config/help_popup.cpp
  gui/config/journals_dlg.cpp
  gui/favorites/delete_confirm_dlg.cpp
  gui/favorites/favorites_flows.cpp
  gui/favorites/favorites_page.cpp
  gui/favorites/section_dlg.cpp
  gui/frame/main_frame.cpp
  gui/frame/main_frame_bars.cpp
  gui/frame/main_frame_commands.cpp
  gui/frame/quillbox_app.cpp
  gui/frame/quillbox_doc.cpp
  gui/leftpane/left_view.cpp
  gui/leftpane/page.cpp
  gui/library/contents_page.cpp
  gui/search/search_page.cpp
  gui/search/search_progress_dlg.cpp
  gui/view/quillbox_view.cpp
  gui/view/view_speech.cpp
  gui/view/wx_fonts.cpp
)
