# Whole-process peer for the batch tool (see scripts/compare-cli), only where OpenCV exists.
nt_opencv_found(nt_peer_opencv imgcodecs imgproc core)
if(nt_peer_opencv)
    add_executable(opencv_peer ${CMAKE_CURRENT_LIST_DIR}/opencv_peer.cpp)
    nt_use_opencv(opencv_peer imgcodecs imgproc core)
endif()
