# The longest stall of the event loop while a snapshot is taken and while presses follow each
# other, on a 10000 x 10000 canvas of the real main window against an 800 x 500 one.
nt_add_bench(event_loop_stall SOURCES ${CMAKE_CURRENT_LIST_DIR}/event_loop_stall.cpp
             LIBS nt_mainwindow Qt6::Widgets)
