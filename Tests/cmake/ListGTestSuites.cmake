# Run at build time by gtest_add_suites: lists the suites of TEST_EXECUTABLE and writes one CTest test
# per suite into CTEST_FILE, named <executable>.<suite> (two executables may hold suites of one name).
# Each suite runs its tests in a new random order every time, so a test that leans on another's leftovers
# shows; the output names the seed, and --gtest_random_seed=<seed> repeats the order.
execute_process(COMMAND ${TEST_EXECUTABLE} --gtest_list_tests
  WORKING_DIRECTORY ${TEST_WORKING_DIR}
  OUTPUT_VARIABLE listing
  RESULT_VARIABLE result
  TIMEOUT 60)
if(NOT result EQUAL 0)
  file(REMOVE ${CTEST_FILE})
  message(FATAL_ERROR "${TEST_TARGET}: listing its tests failed (${result}):\n${listing}")
endif()

string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(suites)
set(suite)
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.")
    set(suite ${CMAKE_MATCH_1})
    list(APPEND suites ${suite})
    set(count_${suite} 0)
  elseif(suite AND line MATCHES "^  [^ ]")
    math(EXPR count_${suite} "${count_${suite}} + 1")
  endif()
endforeach()

set(content "")
foreach(suite IN LISTS suites)
  if(count_${suite} EQUAL 0)
    continue()
  endif()
  math(EXPR timeout "${TEST_TIMEOUT} * ${count_${suite}}")
  if(timeout GREATER 600)
    set(timeout 600)
  endif()
  set(name "${TEST_TARGET}.${suite}")
  string(APPEND content
    "add_test([=[${name}]=] [==[${TEST_EXECUTABLE}]==] [=[--gtest_filter=${suite}.*]=] --gtest_shuffle)\n"
    "set_tests_properties([=[${name}]=] PROPERTIES WORKING_DIRECTORY [==[${TEST_WORKING_DIR}]==] TIMEOUT ${timeout} LABELS ${TEST_TARGET})\n")
endforeach()
file(WRITE ${CTEST_FILE} "${content}")
