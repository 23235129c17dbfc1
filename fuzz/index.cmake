# The CDX and IDX readers and updaters on arbitrary bytes. Their sources are built into the
# targets themselves so they carry the fuzzer's coverage and the sanitizers.
set(INDEX_FUZZ_SOURCES BulkBuffer.cpp CdxFile.cpp CompactNode.cpp CompactSort.cpp CompactTagBuilder.cpp CompactTree.cpp
    IdxFile.cpp IndexPageFile.cpp)
list(TRANSFORM INDEX_FUZZ_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/xbase/)
corvantis_add_fuzzer(cdx_fuzz cdx_fuzz.cpp xbase)
target_sources(cdx_fuzz PRIVATE ${INDEX_FUZZ_SOURCES})
corvantis_add_fuzzer(idx_fuzz idx_fuzz.cpp xbase)
target_sources(idx_fuzz PRIVATE ${INDEX_FUZZ_SOURCES})
