# The print preview recording reader on arbitrary bytes. The reader, writer and painter
# sources are built into the target so they carry the fuzzer's coverage and the sanitizers.
corvantis_add_fuzzer(recording_fuzz recording_fuzz.cpp xbase Qt6::Gui)
set(RECORDING_FUZZ_SOURCES TRecordingReader.cpp TRecordingWriter.cpp TPainterSink.cpp)
list(TRANSFORM RECORDING_FUZZ_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/print/)
target_sources(recording_fuzz PRIVATE ${RECORDING_FUZZ_SOURCES})
target_include_directories(recording_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src/print)
corvantis_qt_defines(recording_fuzz)
