list(APPEND VESTRELS_CORE_SOURCES
  favorites/favorites_export.cpp
  favorites/favorites_ops.cpp
  favorites/favorites_store.cpp)
list(APPEND VESTRELS_GUI_SOURCES)
