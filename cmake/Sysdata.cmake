# Copies sysdata/ into the build folder, so the build folder is a working program folder.
# Each file is copied again only when it changed; files the program creates there are left
# alone.
file(GLOB_RECURSE CORVANTIS_SYSDATA_FILES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/sysdata
    ${PROJECT_SOURCE_DIR}/sysdata/*)
set(CORVANTIS_SYSDATA_OUTPUTS "")
foreach(f IN LISTS CORVANTIS_SYSDATA_FILES)
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/sysdata/${f}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/sysdata/${f} ${CMAKE_BINARY_DIR}/sysdata/${f}
        DEPENDS ${PROJECT_SOURCE_DIR}/sysdata/${f}
        COMMENT "Copying sysdata/${f}"
        VERBATIM)
    list(APPEND CORVANTIS_SYSDATA_OUTPUTS ${CMAKE_BINARY_DIR}/sysdata/${f})
endforeach()
add_custom_target(sysdata ALL DEPENDS ${CORVANTIS_SYSDATA_OUTPUTS})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/sysdata/ DESTINATION ${CMAKE_INSTALL_DATADIR}/corvantis/sysdata
    PATTERN "README.md" EXCLUDE)

# The system tables the program ships are kept as text in reference/ and made with the engine
# at build time (corvantis-mksys, src/cli) into the build folder's sysdata/,
# from where they are installed too.
set(CORVANTIS_SHIPPED_TABLES LBLTPL lbltpl CSZ csz)
set(CORVANTIS_SHIPPED_TABLE_FILES "")
while(CORVANTIS_SHIPPED_TABLES)
    list(POP_FRONT CORVANTIS_SHIPPED_TABLES table list)
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/sysdata/${table}.DBF ${CMAKE_BINARY_DIR}/sysdata/${table}.CDX
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/sysdata
        COMMAND corvantis-mksys ${table} ${PROJECT_SOURCE_DIR}/reference/${list}.csv
            ${CMAKE_BINARY_DIR}/sysdata/${table}.DBF
        DEPENDS corvantis-mksys ${PROJECT_SOURCE_DIR}/reference/${list}.csv
        COMMENT "Making sysdata/${table}.DBF"
        VERBATIM)
    list(APPEND CORVANTIS_SHIPPED_TABLE_FILES
        ${CMAKE_BINARY_DIR}/sysdata/${table}.DBF ${CMAKE_BINARY_DIR}/sysdata/${table}.CDX)
endwhile()
add_custom_target(sysdata_tables ALL DEPENDS ${CORVANTIS_SHIPPED_TABLE_FILES})
add_dependencies(sysdata sysdata_tables)
install(FILES ${CORVANTIS_SHIPPED_TABLE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/corvantis/sysdata)
