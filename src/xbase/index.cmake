# Sources of the index part of the engine.
list(APPEND XBASE_SOURCES
    BulkBuffer.cpp
    CdxFile.cpp
    CompactNode.cpp
    CompactSort.cpp
    CompactTagBuilder.cpp
    CompactTree.cpp
    IdxFile.cpp
    IndexPageFile.cpp)
