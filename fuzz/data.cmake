# The settings-file reader and writer.
corvantis_add_fuzzer(ini_fuzz ${CMAKE_CURRENT_LIST_DIR}/ini_fuzz.cpp data)
corvantis_qt_defines(ini_fuzz)
