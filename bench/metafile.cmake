# Playing a 2 MB EMF and a simple WMF at 4000 x 4000, against BMP decodes of the same size.
nt_add_bench(metafile_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/metafile_bench.cpp LIBS nt_platform)
target_compile_definitions(metafile_bench PRIVATE
    NT_TESTDATA_DIR="${PROJECT_SOURCE_DIR}/../shared/testdata")
