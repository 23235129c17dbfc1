# Sources of the index part of the engine.
list(APPEND XBASE_SOURCES)
