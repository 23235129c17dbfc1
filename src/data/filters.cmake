# The filter criteria, the record query and filter files; the system tables and the rebuild of
# their indexes. Included by src/data/CMakeLists.txt after the data library is defined.
target_sources(data PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TFilterCriteria.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TFilterFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TRecordQuery.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TSysIndexRebuild.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TSystemTables.cpp
)

# corvantis-mksys makes the shipped system tables (LBLTPL, CSZ) from reference/ at build time
# (cmake/Sysdata.cmake runs it).
add_executable(corvantis-mksys ${CMAKE_CURRENT_LIST_DIR}/tools/MakeSystemTable.cpp)
target_link_libraries(corvantis-mksys PRIVATE data)
set_target_properties(corvantis-mksys PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
