nt_add_bench(imageops_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/imageops_bench.cpp LIBS nt_imageops)
