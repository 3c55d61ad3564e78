nt_add_bench(picture_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/picture_bench.cpp LIBS nt_platform)

# Where OpenCV's codecs are installed, its BMP encoder and decoder run beside ours in the same
# run. Only this benchmark uses it; the program never links it.
find_path(NT_PICBENCH_OPENCV_INCLUDE opencv2/imgcodecs.hpp PATH_SUFFIXES opencv4)
find_library(NT_PICBENCH_CV_CORE opencv_core)
find_library(NT_PICBENCH_CV_IMGCODECS opencv_imgcodecs)
if(NT_PICBENCH_OPENCV_INCLUDE AND NT_PICBENCH_CV_CORE AND NT_PICBENCH_CV_IMGCODECS)
    target_include_directories(picture_bench SYSTEM PRIVATE ${NT_PICBENCH_OPENCV_INCLUDE})
    target_link_libraries(picture_bench PRIVATE ${NT_PICBENCH_CV_IMGCODECS} ${NT_PICBENCH_CV_CORE})
    target_compile_definitions(picture_bench PRIVATE NT_BENCH_OPENCV)
endif()
