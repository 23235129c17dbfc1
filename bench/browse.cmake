# The browse grid and the search on a 1,000,000-record address file.
find_package(benchmark REQUIRED)
add_executable(browse_bench ${CMAKE_CURRENT_LIST_DIR}/BrowseBench.cpp ${CMAKE_CURRENT_LIST_DIR}/AddressGenerator.cpp)
target_include_directories(browse_bench PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(browse_bench PRIVATE app_browse_ui app_search benchmark::benchmark)
corvantis_qt_defines(browse_bench)
add_dependencies(benchmarks browse_bench)
