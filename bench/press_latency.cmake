# A press on the canvas of the real main window: 6000 x 4000 against 800 x 500. The undo image
# is written in the background, so the press must not grow with the canvas.
nt_add_bench(press_latency SOURCES ${CMAKE_CURRENT_LIST_DIR}/press_latency.cpp
             LIBS nt_mainwindow Qt6::Widgets)
