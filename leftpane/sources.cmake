# SPDX-License-Identifier: GPL-3.0-or-later
list(APPEND VESTRELS_GUI_SOURCES
  leftpane/page.cpp
  leftpane/left_view.cpp)
