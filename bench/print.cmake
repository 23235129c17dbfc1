# The print engine: recording and printing a large job to PDF, and turning a preview page.
add_executable(print_bench ${CMAKE_CURRENT_LIST_DIR}/PrintBench.cpp)
target_link_libraries(print_bench PRIVATE print)
corvantis_qt_defines(print_bench)
add_dependencies(benchmarks print_bench)
