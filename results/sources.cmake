list(APPEND ORE_CORE_SOURCES results/results_header.cpp)
list(APPEND ORE_CORE_SOURCES results/report_block.cpp results/report_export.cpp)
