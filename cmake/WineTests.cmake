# Windows tests run under Wine by tests/wine/harness.sh, in the Windows builds only.
#
#   orvanta_add_wine_test(NAME name
#                         TARGET exe_target | SCRIPT scenario.sh
#                         [ARGS arg...] [WORKING_DIRECTORY dir] [TIMEOUT seconds] [LABELS label...])
#
# TARGET runs one Windows executable (a GoogleTest program, say) once, in WORKING_DIRECTORY (default: the
# executable's folder); it passes when the program exits with 0. SCRIPT runs a bash scenario that sources
# "$ORVANTA_WINE_LIB" (tests/wine/lib.sh); ARGS may use generator expressions such as $<TARGET_FILE:x>.
# Either way the test fails when it leaves a visible window open or runs past TIMEOUT (default 120).
# Every such test shares the one Wine prefix of the run (fixture "wine") and runs alone.
#
# A Windows build tree is either x64 or x86 (ORVANTA_WINE_ARCH, from the compiler's pointer size); its tests run
# in a 64-bit prefix of its own, x86 programs under WoW64. Each test carries the label of its architecture, and
# the harness checks that the programs it starts really run with that pointer size: a test written once runs on
# both architectures, one build tree each.
set(ORVANTA_WINE_HARNESS ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/harness.sh)
cmake_path(NORMAL_PATH ORVANTA_WINE_HARNESS)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(ORVANTA_WINE_ARCH x86)
else()
    set(ORVANTA_WINE_ARCH x64)
endif()

function(orvanta_add_wine_test)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(PARSE_ARGV 0 WT "" "NAME;TARGET;SCRIPT;WORKING_DIRECTORY;TIMEOUT" "ARGS;LABELS")
    if(NOT WT_NAME OR (NOT WT_TARGET AND NOT WT_SCRIPT) OR (WT_TARGET AND WT_SCRIPT))
        message(FATAL_ERROR "orvanta_add_wine_test: NAME and one of TARGET or SCRIPT are required")
    endif()
    if(NOT WT_TIMEOUT)
        set(WT_TIMEOUT 120)
    endif()
    if(WT_TARGET)
        if(NOT WT_WORKING_DIRECTORY)
            set(WT_WORKING_DIRECTORY $<TARGET_FILE_DIR:${WT_TARGET}>)
        endif()
        set(command exe ${CMAKE_BINARY_DIR} --name ${WT_NAME} --timeout ${WT_TIMEOUT}
            --cwd ${WT_WORKING_DIRECTORY} $<TARGET_FILE:${WT_TARGET}>)
    else()
        cmake_path(ABSOLUTE_PATH WT_SCRIPT BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        set(command script ${CMAKE_BINARY_DIR} --name ${WT_NAME} --timeout ${WT_TIMEOUT} ${WT_SCRIPT})
    endif()
    add_test(NAME ${WT_NAME} COMMAND bash ${ORVANTA_WINE_HARNESS} ${command} ${WT_ARGS})
    math(EXPR outer "${WT_TIMEOUT} + 30")
    set_tests_properties(${WT_NAME} PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL TRUE TIMEOUT ${outer}
        LABELS "wine;${ORVANTA_WINE_ARCH};${WT_LABELS}")
endfunction()
