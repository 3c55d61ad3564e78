nt_add_bench(shapes_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/shapes_bench.cpp LIBS nt_surface)
