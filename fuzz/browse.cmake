# The browse grid's column file. Its reader is built in, so the fuzz build needs no windows.
corvantis_add_fuzzer(browse_columns_fuzz ${CMAKE_CURRENT_LIST_DIR}/browse_columns_fuzz.cpp data)
target_sources(browse_columns_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src/app/TBrowseColumns.cpp)
target_include_directories(browse_columns_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/src/app)
corvantis_qt_defines(browse_columns_fuzz)
