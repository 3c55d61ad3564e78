nt_add_bench(surface_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/surface_bench.cpp LIBS nt_surface Qt6::Gui)
