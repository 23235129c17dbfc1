# The expression compiler, evaluator and planner on arbitrary text. Their sources are built
# into the target itself so they carry the fuzzer's coverage and the sanitizers.
corvantis_add_fuzzer(expression_fuzz expression_fuzz.cpp xbase)
set(EXPRESSION_FUZZ_SOURCES Expression.cpp ExpressionEval.cpp ExpressionParser.cpp QueryPlanner.cpp RecordBitmap.cpp)
list(TRANSFORM EXPRESSION_FUZZ_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/xbase/)
target_sources(expression_fuzz PRIVATE ${EXPRESSION_FUZZ_SOURCES})
