# Copy of a 6000 x 4000 selection with the system clipboard's offer against the same Copy
# without it, and the PNG made when another program asks (run under xvfb-run for a real X
# clipboard; offscreen otherwise).
nt_add_bench(clipboard_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/clipboard_bench.cpp
             LIBS nt_mainwindow Qt6::Widgets)
