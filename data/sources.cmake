list(APPEND ORE_CORE_SOURCES data/number_format.cpp data/text_grid.cpp data/workspace.cpp)
