list(APPEND ORE_GUI_SOURCES platform/text_grid_model.cpp platform/string_grid.cpp
     platform/error_box.cpp platform/form.cpp platform/bar_chart.cpp platform/printing.cpp)
list(APPEND ORE_GUI_SOURCES platform/report_window.cpp)
list(APPEND ORE_GUI_SOURCES platform/qpainter_canvas.cpp)
list(APPEND ORE_GUI_SOURCES platform/report_bridge.cpp)
