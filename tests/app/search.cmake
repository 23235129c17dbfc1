# Search and tagging: the search, the tag commands and the tagging pass on fixture copies (no
# windows), then the "Search" and "Tagging" windows (offscreen).
corvantis_add_test(NAME app_search_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TAddressSearchTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TTagCommandsTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/TTagPassTest.cpp
    LIBS app_search test_support_files
    MAIN core
    LABELS app)
target_include_directories(app_search_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)

corvantis_add_test(NAME app_search_ui_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TSearchFormTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TTagAllRecordsTest.cpp
    LIBS app_search_ui test_support_files Qt6::Test
    MAIN widgets
    LABELS app ui)
target_include_directories(app_search_ui_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
