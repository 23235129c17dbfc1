# The engine benchmark: 200,000 generated address records, each heavy operation timed.
add_executable(xbase_bench XbaseBench.cpp AddressGenerator.cpp)
target_include_directories(xbase_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(xbase_bench PRIVATE xbase)
set_target_properties(xbase_bench PROPERTIES AUTOMOC OFF)
add_custom_target(xbase_bench_run COMMAND xbase_bench USES_TERMINAL)
add_dependencies(benchmarks xbase_bench_run)
