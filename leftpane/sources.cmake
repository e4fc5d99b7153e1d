list(APPEND VESTRELS_GUI_SOURCES
  leftpane/page.cpp
  leftpane/left_view.cpp)
