# Record editing: the logic (no windows) and its windows and keyboard rules.
add_library(app_editing STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TEditState.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TMemoSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TRecordEditor.cpp
)
target_include_directories(app_editing PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(app_editing PUBLIC data Qt6::Core)
corvantis_qt_defines(app_editing)

add_library(app_editing_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TFormKeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TMemoSearchForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TNewRecordForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TRecordEditCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TSelectDateForm.cpp
)
target_link_libraries(app_editing_ui PUBLIC app_editing data_ui Qt6::Widgets)
corvantis_qt_defines(app_editing_ui)
