# Sources of the expression part of the engine.
list(APPEND XBASE_SOURCES)
