# Sources of the table part of the engine.
list(APPEND XBASE_SOURCES Cp1252.cpp DbfFile.cpp File.cpp MemoFile.cpp Table.cpp)
