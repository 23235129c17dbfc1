# The DBF and memo file readers through the table layer. Their sources are built into the
# target itself so they carry the fuzzer's coverage and the sanitizers.
corvantis_add_fuzzer(dbf_fuzz dbf_fuzz.cpp xbase)
set(TABLE_FUZZ_SOURCES Cp1252.cpp DbfFile.cpp File.cpp MemoFile.cpp Table.cpp)
list(TRANSFORM TABLE_FUZZ_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/xbase/)
target_sources(dbf_fuzz PRIVATE ${TABLE_FUZZ_SOURCES})
