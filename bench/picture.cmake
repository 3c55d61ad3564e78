nt_add_bench(picture_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/picture_bench.cpp LIBS nt_platform)

# Where OpenCV's codecs are installed, its BMP encoder and decoder run beside ours in the same
# run. Only this benchmark uses it; the program never links it.
nt_opencv_found(nt_picture_opencv imgcodecs core)
if(nt_picture_opencv)
    nt_use_opencv(picture_bench imgcodecs core)
endif()
