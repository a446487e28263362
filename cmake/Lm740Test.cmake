# lm740_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LAUNCHER program])
# One QtTest executable, registered with CTest to run on the offscreen platform (through LAUNCHER
# when given).
function(lm740_add_test name)
    cmake_parse_arguments(T "" "LAUNCHER" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
    # The rigs shared between the tests.
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
    # Sample files for the tests, once there are any.
    if(EXISTS ${PROJECT_SOURCE_DIR}/tests/data)
        target_compile_definitions(${name} PRIVATE LM740_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    endif()
    add_test(NAME ${name} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=lm740.*=false;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
        TIMEOUT 300)
endfunction()
