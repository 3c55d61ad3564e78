# The text dialog's opening against Qt's font dialog, and a line of large Chinese text on a
# small and a huge canvas.
nt_add_bench(text_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/text_bench.cpp
             LIBS nt_text nt_surface Qt6::Widgets)
