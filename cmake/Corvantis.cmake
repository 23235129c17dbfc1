# Helpers shared by every folder's CMakeLists.

# Qt rules every Qt-side target follows.
function(corvantis_qt_defines target)
    target_compile_definitions(${target} PUBLIC
        QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)
endfunction()

# corvantis_add_test(NAME name SOURCES ... LIBS ... MAIN plain|core|gui|widgets [LABELS ...])
# One GoogleTest executable registered with ctest. Window and gui tests run offscreen.
# The test finds its data through CORVANTIS_SOURCE_DIR and CORVANTIS_SHARED_DIR.
function(corvantis_add_test)
    cmake_parse_arguments(T "" "NAME;MAIN" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT T_MAIN)
        set(T_MAIN plain)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} test_support_${T_MAIN} GTest::gtest GTest::gmock)
    target_compile_definitions(${T_NAME} PRIVATE
        CORVANTIS_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        CORVANTIS_SHARED_DIR="${CORVANTIS_SHARED_DIR}"
        CORVANTIS_BINARY_DIR="${CMAKE_BINARY_DIR}")
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(env "QT_QPA_PLATFORM=offscreen")
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 900)
    if(T_LABELS)
        set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()
