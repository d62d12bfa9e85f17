list(APPEND ORE_CORE_SOURCES platform/workbook.cpp platform/workbook_reader.cpp platform/automation.cpp
     platform/excel_application.cpp)
list(APPEND ORE_CORE_SOURCES
     platform/reader_limits.cpp platform/zip_archive.cpp platform/xml_stream.cpp
     platform/cell_values.cpp platform/xlsx_reader.cpp platform/ods_reader.cpp
     platform/csv_reader.cpp platform/compound_file.cpp platform/xls_reader.cpp)
list(APPEND ORE_CORE_SOURCES platform/xlsx_writer.cpp)
list(APPEND ORE_CORE_SOURCES platform/report_window_cells.cpp)
list(APPEND ORE_CORE_SOURCES platform/safe_file_writer.cpp)
