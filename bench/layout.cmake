# Layout streams and label printing through the layout objects.
add_executable(layout_bench ${CMAKE_CURRENT_LIST_DIR}/LayoutBench.cpp)
target_link_libraries(layout_bench PRIVATE layout)
corvantis_qt_defines(layout_bench)
add_dependencies(benchmarks layout_bench)
