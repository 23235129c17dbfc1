# Tests of the expression part of the engine.
add_library(xbase_fixture_records STATIC support/FixtureRecords.cpp)
target_include_directories(xbase_fixture_records PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(xbase_fixture_records PUBLIC xbase)
target_compile_definitions(xbase_fixture_records PRIVATE CORVANTIS_SHARED_DIR="${CORVANTIS_SHARED_DIR}")

corvantis_add_test(NAME xbase_expression_test
    SOURCES ExpressionTest.cpp ExpressionFixtureTest.cpp
    LIBS xbase xbase_fixture_records MAIN plain LABELS engine)
corvantis_add_test(NAME xbase_query_planner_test
    SOURCES QueryPlannerTest.cpp RecordBitmapTest.cpp
    LIBS xbase xbase_fixture_records MAIN plain LABELS engine)
