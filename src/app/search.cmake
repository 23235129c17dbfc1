# Search and tagging: the sort orders, the search, the tag commands and the tagging pass (no
# windows), then the "Search" and "Tagging" windows.
add_library(app_search STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TAddressSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TAddressTagTarget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TSortOrders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TTagCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TTagPass.cpp
)
target_include_directories(app_search PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(app_search PUBLIC data Qt6::Core)
corvantis_qt_defines(app_search)

add_library(app_search_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TSearchForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TTagAllRecords.cpp
)
target_link_libraries(app_search_ui PUBLIC app_search data_ui Qt6::Widgets)
corvantis_qt_defines(app_search_ui)
