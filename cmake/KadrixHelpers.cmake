# kadrix_test_environment(<test> [timeout]): what every test runs with: the
# programs it may start, the sanitizers' settings and a time limit (300 s
# unless given).
function(kadrix_test_environment test)
  set(timeout 300)
  if(ARGC GREATER 1 AND ARGV1)
    set(timeout ${ARGV1})
  endif()
  set_tests_properties(${test} PROPERTIES
    TIMEOUT ${timeout}
    ENVIRONMENT "KADRIX_QT_WINDOWS=${KADRIX_QT_WINDOWS};KADRIX_WINE_PREFIX=${CMAKE_BINARY_DIR}/wine-prefix;KADRIX_STANDIN=$<TARGET_FILE:standin>;KADRIX_WINSTANDIN=${KADRIX_WINSTANDIN};KADRIX_EXE=$<TARGET_FILE:kadrix95>;KADRIX_SOURCE_DIR=${PROJECT_SOURCE_DIR};LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()

# kadrix_settle_threads_at_exit(<target>): in the sanitizer build, the program
# waits at exit for the threads Qt's pools are ending, so that the leak check
# does not count what those threads are about to free.
function(kadrix_settle_threads_at_exit target)
  if(TARGET kadrix_settle_threads)
    target_link_libraries(${target} PRIVATE kadrix_settle_threads)
  endif()
endfunction()

# kadrix_add_test(<name> SOURCES <files...> [LIBRARIES <libs...>] [TIMEOUT <seconds>])
#
# Builds one Qt Test executable against the kadrix library and registers it
# with CTest. Every test runs through tests/isolated: offscreen, with a home,
# configuration and runtime directory of its own, so no test can see or
# change the settings, files or display of the person running it.
function(kadrix_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE kadrix kadrix_testsupport Qt6::Test ${ARG_LIBRARIES})
  kadrix_settle_threads_at_exit(${name})
  add_test(NAME ${name} COMMAND ${KADRIX_TEST_RUNNER} $<TARGET_FILE:${name}>)
  kadrix_test_environment(${name} ${ARG_TIMEOUT})
endfunction()

# kadrix_add_linux_test(<name> REASON <text> SOURCES <files...> [...]): a test
# of what only a Linux host has (fork, named pipes, the mount table, Wine
# from the outside). A Windows build lists it as skipped, with the reason.
# kadrix_add_windows_test is its twin, for what only Windows has.
function(kadrix_add_linux_test name)
  kadrix_add_host_test(${name} NOT_WIN32 ${ARGN})
endfunction()

function(kadrix_add_windows_test name)
  kadrix_add_host_test(${name} WIN32 ${ARGN})
endfunction()

function(kadrix_add_host_test name host)
  cmake_parse_arguments(ARG "" "REASON" "" ${ARGN})
  set(this_host NOT_WIN32)
  if(WIN32)
    set(this_host WIN32)
  endif()
  if(host STREQUAL this_host)
    kadrix_add_test(${name} ${ARG_UNPARSED_ARGUMENTS})
    return()
  endif()
  add_test(NAME ${name} COMMAND sh -c "echo 'Skipped: ${ARG_REASON}'; exit 77")
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
endfunction()

# What runs each test: tests/isolated, or for the Windows build
# tests/isolated-wine, which runs it under Wine in a prefix of the test run.
if(WIN32)
  set(KADRIX_TEST_RUNNER ${PROJECT_SOURCE_DIR}/tests/isolated-wine)
else()
  set(KADRIX_TEST_RUNNER ${PROJECT_SOURCE_DIR}/tests/isolated)
endif()

# kadrix_add_bench(<name> SOURCES <files...>): a benchmark, built but never run as a test.
function(kadrix_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE kadrix ${ARG_LIBRARIES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench/common)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
