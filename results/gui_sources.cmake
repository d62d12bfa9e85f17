# Qt files of results/
list(APPEND ORE_GUI_SOURCES results/results_window.cpp)
list(APPEND ORE_GUI_SOURCES results/histogram_window.cpp)
