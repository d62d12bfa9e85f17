# Qt files of analysis/
list(APPEND ORE_GUI_SOURCES analysis/pocket_window.cpp analysis/gui/sortability_window.cpp)
