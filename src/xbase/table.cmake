# Sources of the table part of the engine.
list(APPEND XBASE_SOURCES)
