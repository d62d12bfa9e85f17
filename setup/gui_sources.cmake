# Qt files of setup/
list(APPEND ORE_GUI_SOURCES setup/calc_params_dialog.cpp)
list(APPEND ORE_GUI_SOURCES setup/distribution_dialog.cpp)
