# Tests read the program's texts in English, whatever the language of the machine they run on.
set(LV_TEST_LOCALE "LANG=C.UTF-8;LC_ALL=;LC_MESSAGES=;LANGUAGE=")

# lv_add_test(<name> [SOURCES <files>...])
# Builds tests/<name>.cpp (and any extra sources) into a QtTest executable linked with lvcore and
# testsupport, and registers it with CTest. Every test runs on the offscreen platform with its own
# throw-away configuration folders, so nothing touches the user's settings or keychain item.
function(lv_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES" ${ARGN})
    add_executable(${name} ${name}.cpp ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE testsupport lvcore Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LV_TEST_OUTPUT_DIR=${CMAKE_BINARY_DIR}/test-output;${LV_TEST_LOCALE}")
endfunction()
