list(APPEND VESTRELS_GUI_SOURCES
  leftpane/left_view.cpp)
