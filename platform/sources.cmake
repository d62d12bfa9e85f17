list(APPEND ORE_CORE_SOURCES platform/workbook.cpp platform/workbook_reader.cpp platform/automation.cpp
     platform/excel_application.cpp)
list(APPEND ORE_CORE_SOURCES platform/xlsx_writer.cpp)
list(APPEND ORE_CORE_SOURCES platform/report_window_cells.cpp)
