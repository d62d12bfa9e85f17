list(APPEND ORE_CORE_SOURCES platform/workbook.cpp)
