# Registers a GoogleTest executable with CTest one suite per process instead of one test per process.
# Starting a test process under the sanitizers costs about a second (relocating and poisoning their
# static data), which is most of the time of a short test: a suite pays it once.
#
#   gtest_add_suites(<target> [TIMEOUT <seconds per test>])
#
# Like gtest_discover_tests in its POST_BUILD mode, the suites are listed by the built executable and
# written to a file that CTest includes. Each suite's time limit is the per-test limit times the number
# of its tests, capped at ten minutes.
set(_gtest_suites_script ${CMAKE_CURRENT_LIST_DIR}/ListGTestSuites.cmake)

function(gtest_add_suites target)
  cmake_parse_arguments(ARG "" "TIMEOUT" "" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(ctest_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites_include.cmake)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D TEST_TARGET=${target} -D TEST_EXECUTABLE=$<TARGET_FILE:${target}>
            -D TEST_WORKING_DIR=${CMAKE_CURRENT_BINARY_DIR} -D TEST_TIMEOUT=${ARG_TIMEOUT} -D CTEST_FILE=${ctest_file}
            -P ${_gtest_suites_script}
    BYPRODUCTS ${ctest_file}
    VERBATIM)
  file(WRITE ${include_file}
    "if(EXISTS \"${ctest_file}\")\n"
    "  include(\"${ctest_file}\")\n"
    "else()\n"
    "  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
