# The browse window: the column file and the grid's rows on fixture copies (no windows), then
# the window itself offscreen.
corvantis_add_test(NAME app_browse_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TBrowseColumnsTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TBrowseModelTest.cpp
    LIBS app_browse test_support_files
    MAIN core
    LABELS app)
target_include_directories(app_browse_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)

corvantis_add_test(NAME app_browse_ui_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TAddressBrowseFormTest.cpp
    LIBS app_browse_ui test_support_files Qt6::Test
    MAIN widgets
    LABELS app ui)
target_include_directories(app_browse_ui_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
