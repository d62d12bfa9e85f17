list(APPEND ORE_CORE_SOURCES results/results_header.cpp)
