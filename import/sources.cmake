# core files of import/
list(APPEND ORE_CORE_SOURCES import/column_letter.cpp import/content_columns.cpp
     import/workbook_import.cpp)
