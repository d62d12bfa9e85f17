# core files of graph/
list(APPEND ORE_CORE_SOURCES graph/raster.cpp graph/pixel_canvas.cpp graph/bmp_file.cpp
     graph/span_rule.cpp graph/letters.cpp graph/letter_data.cpp graph/diagram_font.cpp
     graph/font_data.cpp graph/graph_fields.cpp graph/diagram_painter.cpp)
