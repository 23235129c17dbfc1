# Applying filters to a 200,000-record address file (Google Benchmark).
find_package(benchmark REQUIRED)
add_executable(filter_bench ${CMAKE_CURRENT_LIST_DIR}/FilterBench.cpp ${CMAKE_CURRENT_LIST_DIR}/AddressGenerator.cpp)
target_include_directories(filter_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(filter_bench PRIVATE data benchmark::benchmark)
corvantis_qt_defines(filter_bench)
add_dependencies(benchmarks filter_bench)
