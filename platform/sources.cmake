list(APPEND ORE_CORE_SOURCES platform/workbook.cpp platform/workbook_reader.cpp platform/automation.cpp
     platform/excel_application.cpp)
