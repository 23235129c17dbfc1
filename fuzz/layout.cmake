# The layout stream reader and the object classes on arbitrary bytes. The layout and print
# sources are built into the target so they carry the fuzzer's coverage and the sanitizers,
# and the target builds also where only the engine and data libraries are configured.
file(GLOB LAYOUT_FUZZ_SOURCES ${PROJECT_SOURCE_DIR}/src/layout/*.cpp ${PROJECT_SOURCE_DIR}/src/print/*.cpp)
corvantis_add_fuzzer(layout_fuzz layout_fuzz.cpp data Qt6::Gui)
target_sources(layout_fuzz PRIVATE ${LAYOUT_FUZZ_SOURCES})
target_include_directories(layout_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src/layout ${PROJECT_SOURCE_DIR}/src/print)
corvantis_qt_defines(layout_fuzz)
