# SPDX-License-Identifier: GPL-2.0-or-later
# penwick_add_test(<name> LABEL <unit|widget|e2e> SOURCES ... [LIBRARIES ...]
#                  [TIMEOUT seconds] [COMMAND_PREFIX ...])
# Builds one test executable on the shared harness and registers it with CTest, headless.
function(penwick_add_test name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBRARIES;COMMAND_PREFIX" ${ARGN})
  if(NOT ARG_LABEL)
    message(FATAL_ERROR "penwick_add_test(${name}): LABEL is required")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE penwick_test_harness penwick_core penwick_warnings
                                        ${ARG_LIBRARIES})
  add_test(NAME ${name} COMMAND ${ARG_COMMAND_PREFIX} $<TARGET_FILE:${name}>)
  set(env
    "QT_QPA_PLATFORM=offscreen"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  set_tests_properties(${name} PROPERTIES
    LABELS "${ARG_LABEL}" TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${env}")
endfunction()
