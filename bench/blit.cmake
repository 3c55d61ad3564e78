nt_add_bench(blit_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/blit_bench.cpp LIBS nt_surface Qt6::Gui)

# When OpenCV's image processing is installed, its area resize is timed beside the halftone
# stretch. Only this benchmark uses it; the program never links it.
find_package(OpenCV QUIET COMPONENTS core imgproc)
if(OpenCV_FOUND)
    target_include_directories(blit_bench SYSTEM PRIVATE ${OpenCV_INCLUDE_DIRS})
    target_link_libraries(blit_bench PRIVATE ${OpenCV_LIBS})
    target_compile_definitions(blit_bench PRIVATE NT_BENCH_OPENCV)
else()
    # Debian's core and imgproc packages ship no CMake package file: look for them directly.
    find_path(NT_OPENCV_INCLUDE_DIR opencv2/imgproc.hpp PATH_SUFFIXES opencv4)
    find_library(NT_OPENCV_CORE_LIB opencv_core)
    find_library(NT_OPENCV_IMGPROC_LIB opencv_imgproc)
    if(NT_OPENCV_INCLUDE_DIR AND NT_OPENCV_CORE_LIB AND NT_OPENCV_IMGPROC_LIB)
        target_include_directories(blit_bench SYSTEM PRIVATE ${NT_OPENCV_INCLUDE_DIR})
        target_link_libraries(blit_bench PRIVATE ${NT_OPENCV_IMGPROC_LIB} ${NT_OPENCV_CORE_LIB})
        target_compile_definitions(blit_bench PRIVATE NT_BENCH_OPENCV)
    endif()
endif()
