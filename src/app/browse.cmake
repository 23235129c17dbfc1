# The browse window: the column file and the grid's rows (no windows), and the window.
add_library(app_browse STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TBrowseColumns.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TBrowseModel.cpp
)
target_include_directories(app_browse PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(app_browse PUBLIC data Qt6::Core)
corvantis_qt_defines(app_browse)

add_library(app_browse_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TAddressBrowseForm.cpp
)
target_link_libraries(app_browse_ui PUBLIC app_browse data_ui Qt6::Widgets)
corvantis_qt_defines(app_browse_ui)
