# core files of setup/
list(APPEND ORE_CORE_SOURCES setup/pocket_table.cpp)
