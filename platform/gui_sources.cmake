list(APPEND ORE_GUI_SOURCES platform/text_grid_model.cpp platform/string_grid.cpp
     platform/error_box.cpp platform/form.cpp)
list(APPEND ORE_GUI_SOURCES platform/qpainter_canvas.cpp)
