list(APPEND ORE_GUI_SOURCES app/main_window.cpp app/windows.cpp)
