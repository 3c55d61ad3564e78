# The pointer pipeline on a small and a huge canvas, and start-up to the first window on screen
# against a bare Qt window and a bare one with a label (run under xvfb-run for start-up).
nt_add_bench(mainwindow_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/mainwindow_bench.cpp
             LIBS nt_mainwindow Qt6::Widgets)
add_executable(mainwindow_startup_app ${CMAKE_CURRENT_LIST_DIR}/mainwindow_startup.cpp)
target_compile_definitions(mainwindow_startup_app PRIVATE NT_STARTUP_APP=1)
target_link_libraries(mainwindow_startup_app PRIVATE nt_mainwindow nt_startup)
add_executable(mainwindow_startup_bare ${CMAKE_CURRENT_LIST_DIR}/mainwindow_startup.cpp)
target_include_directories(mainwindow_startup_bare PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(mainwindow_startup_bare PRIVATE Qt6::Widgets)
add_dependencies(mainwindow_bench mainwindow_startup_app mainwindow_startup_bare nt_data)
add_executable(mainwindow_startup_label ${CMAKE_CURRENT_LIST_DIR}/mainwindow_startup.cpp)
target_compile_definitions(mainwindow_startup_label PRIVATE NT_STARTUP_LABEL=1)
target_link_libraries(mainwindow_startup_label PRIVATE Qt6::Widgets)
add_dependencies(mainwindow_bench mainwindow_startup_label)
