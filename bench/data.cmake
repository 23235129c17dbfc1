# The settings file: how long the reads and writes windows make take.
add_executable(data_bench ${CMAKE_CURRENT_LIST_DIR}/DataBench.cpp)
target_link_libraries(data_bench PRIVATE data)
corvantis_qt_defines(data_bench)
add_dependencies(benchmarks data_bench)
