# The settings-file reader and writer.
corvantis_add_fuzzer(ini_fuzz ${CMAKE_CURRENT_LIST_DIR}/ini_fuzz.cpp data)
corvantis_qt_defines(ini_fuzz)
# Filter files, and the query built from what they hold.
corvantis_add_fuzzer(filter_fuzz ${CMAKE_CURRENT_LIST_DIR}/filter_fuzz.cpp data)
corvantis_qt_defines(filter_fuzz)
