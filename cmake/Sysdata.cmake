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
