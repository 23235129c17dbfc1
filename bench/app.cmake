# The main window: opening a 1,000,000-record address file and showing its first record.
find_package(benchmark REQUIRED)
add_executable(app_bench ${CMAKE_CURRENT_LIST_DIR}/AppBench.cpp ${CMAKE_CURRENT_LIST_DIR}/AddressGenerator.cpp)
target_include_directories(app_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(app_bench PRIVATE app benchmark::benchmark)
corvantis_qt_defines(app_bench)
add_dependencies(benchmarks app_bench)
