# Current-record printing and the clipboard text: the logic (printed to PDF and recorded) and
# the two windows (offscreen).
corvantis_add_test(NAME app_record_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TCurrentRecordPrintTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TCurrentRecordTextTest.cpp
    LIBS app_record test_support_files
    MAIN gui
    LABELS app print)
target_include_directories(app_record_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/support ${PROJECT_SOURCE_DIR}/tests/print)

corvantis_add_test(NAME app_record_ui_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TCopyToClipBoardTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TPrintCurrentRecordTest.cpp
    LIBS app_record_ui test_support_files
    MAIN widgets
    LABELS app print ui)
target_include_directories(app_record_ui_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
