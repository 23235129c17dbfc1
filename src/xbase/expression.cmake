# Sources of the expression part of the engine.
list(APPEND XBASE_SOURCES Expression.cpp ExpressionEval.cpp ExpressionParser.cpp QueryPlanner.cpp RecordBitmap.cpp)
