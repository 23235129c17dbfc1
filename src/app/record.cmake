# Current-record printing and the clipboard text: the logic (no windows) and its two windows.
add_library(app_record STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TCurrentRecordPrint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TCurrentRecordText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TCurrentRecordValues.cpp
)
target_include_directories(app_record PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(app_record PUBLIC print data Qt6::Gui)
corvantis_qt_defines(app_record)

add_library(app_record_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TCopyToClipBoard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TPrintCurrentRecord.cpp
)
target_link_libraries(app_record_ui PUBLIC app_record print_ui data_ui Qt6::Widgets)
corvantis_qt_defines(app_record_ui)
