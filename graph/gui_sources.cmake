# Qt files of graph/
list(APPEND ORE_GUI_SOURCES graph/graph_window.cpp)
