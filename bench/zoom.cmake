# The zoomed view of the real main window: repainting what is visible at 3200 % and 12.5 % on a
# 10000 x 10000 canvas and a pencil move at 800 %, against 800 x 500 at 100 %.
nt_add_bench(zoom_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/zoom_bench.cpp
             LIBS nt_mainwindow Qt6::Widgets)
