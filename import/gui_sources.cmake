# Qt files of import/
list(APPEND ORE_GUI_SOURCES import/import_dialog.cpp)
