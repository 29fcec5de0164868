# The exit code of a test that ran without a failure but skipped checks: the shared test main ends so,
# and so does every other test script that cannot run its checks here. ctest counts it as "skipped".
set(FW_TEST_SKIPPED_EXIT_CODE 77)

# fw_add_test(NAME name SOURCES ... [LIBS ...] [ENV VAR=VALUE ...] [LABELS ...] [TIMEOUT seconds] [DISPLAY])
# One GoogleTest program registered as one ctest test. Each test program gets its own temporary
# registry and data folders from the shared test main (tests/support), so programs run in parallel.
# DISPLAY marks a test that needs the X server the test script starts (Xvfb); others run offscreen.
function(fw_add_test)
  cmake_parse_arguments(T "DISPLAY" "NAME;TIMEOUT" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE fw_test_support ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(env ${T_ENV})
  if(NOT T_DISPLAY)
    list(APPEND env QT_QPA_PLATFORM=offscreen)
  endif()
  list(APPEND env "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0"
                  "ASAN_OPTIONS=detect_odr_violation=0"
                  "TSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/tsan.supp:second_deadlock_stack=1")
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}" LABELS "${T_LABELS}"
                                            SKIP_RETURN_CODE ${FW_TEST_SKIPPED_EXIT_CODE})
endfunction()

