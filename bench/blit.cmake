nt_add_bench(blit_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/blit_bench.cpp LIBS nt_surface Qt6::Gui)

# When OpenCV's image processing is installed, its area resize is timed beside the halftone
# stretch. Only this benchmark uses it; the program never links it.
nt_opencv_found(nt_blit_opencv imgproc core)
if(nt_blit_opencv)
    nt_use_opencv(blit_bench imgproc core)
endif()
