# The layout stream reader and the object classes on arbitrary bytes. The layout sources are
# built into the target so they carry the fuzzer's coverage and the sanitizers.
file(GLOB LAYOUT_FUZZ_SOURCES ${PROJECT_SOURCE_DIR}/src/layout/*.cpp)
corvantis_add_fuzzer(layout_fuzz layout_fuzz.cpp data print Qt6::Gui)
target_sources(layout_fuzz PRIVATE ${LAYOUT_FUZZ_SOURCES})
target_include_directories(layout_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src/layout)
corvantis_qt_defines(layout_fuzz)
