# Record editing: the button rules, the editor and the memo search on fixture copies (no
# windows), then the commands, their windows and the keyboard rules on a small form (offscreen).
corvantis_add_test(NAME app_editing_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TEditStateTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TMemoSearchTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/TRecordEditorTest.cpp
    LIBS app_editing test_support_files
    MAIN core
    LABELS app)
target_include_directories(app_editing_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)

corvantis_add_test(NAME app_editing_ui_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TRecordEditCommandsTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TFormKeysTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/TNewRecordFormTest.cpp
    LIBS app_editing_ui test_support_files Qt6::Test
    MAIN widgets
    LABELS app ui)
target_include_directories(app_editing_ui_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
