# Run by ctest when it starts (through the include file that varnolis_add_wine_suites writes):
# lists a GoogleTest program's tests under Wine and registers one CTest test per GoogleTest
# suite, which runs all of that suite's tests in one Wine process. A program start under Wine
# costs more than most tests do; one process per suite keeps the tests of one fixture together
# (they share its set-up and nothing else) and leaves a failing test's name and output in the
# CTest log, where GoogleTest prints them. The tests of a suite named in ALONE run one per
# process, as CTest tests of their own.

# varnolis_wine_suites_impl(EXECUTABLE exe LISTER runner RUNNER runner NAME_PREFIX prefix
#                           FILTER negative ALONE suite... CTEST_FILE out
#                           DISCOVERY_TIMEOUT seconds PROPERTIES name value ...)
# The tests are listed under LISTER and run under RUNNER (scripts that run a program in a
# prefix). FILTER is GoogleTest's negative part ("-A.*:B.c"), applied to the listing and to
# every suite.
function(varnolis_wine_suites_impl)
  cmake_parse_arguments(ARG "" "EXECUTABLE;LISTER;RUNNER;NAME_PREFIX;FILTER;CTEST_FILE;DISCOVERY_TIMEOUT"
                        "ALONE;PROPERTIES" ${ARGN})
  execute_process(
    COMMAND "${ARG_LISTER}" "${ARG_EXECUTABLE}" --gtest_list_tests "--gtest_filter=*${ARG_FILTER}"
    TIMEOUT ${ARG_DISCOVERY_TIMEOUT}
    OUTPUT_VARIABLE listing
    ERROR_VARIABLE errors
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "listing the tests of ${ARG_EXECUTABLE} failed (${result}):\n"
                        "${listing}${errors}")
  endif()
  # A suite line is "Suite." (a typed suite's with "  # TypeParam = ..."); a test line is the
  # test's name after two blanks (a parameterised test's with "  # GetParam() = ...").
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(script "")
  set(suite "")
  set(count 0)
  # (No IN_LIST: ctest reads this under its default policies.)
  set(alone -1)
  foreach(line IN LISTS lines)
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
      set(suite "${CMAKE_MATCH_1}")
      list(FIND ARG_ALONE "${suite}" alone)
      if(alone EQUAL -1)
        varnolis_wine_suites_add("${suite}.*")
      endif()
    elseif(line MATCHES "^  ([^ ]+)" AND NOT alone EQUAL -1)
      varnolis_wine_suites_add("${suite}.${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(count EQUAL 0)
    message(FATAL_ERROR "${ARG_EXECUTABLE} lists no tests:\n${listing}${errors}")
  endif()
  file(WRITE "${ARG_CTEST_FILE}" "${script}")
endfunction()

# One CTest test "<prefix>:<pattern without .*>" running the tests that `pattern` and FILTER
# leave; appends to the caller's script and count.
macro(varnolis_wine_suites_add pattern)
  string(REGEX REPLACE "\\.\\*$" "" name "${ARG_NAME_PREFIX}:${pattern}")
  string(APPEND script
    "add_test([==[${name}]==] [==[${ARG_RUNNER}]==] [==[${ARG_EXECUTABLE}]==] "
    "[==[--gtest_filter=${pattern}${ARG_FILTER}]==])\n"
    "set_tests_properties([==[${name}]==] PROPERTIES")
  foreach(property IN LISTS ARG_PROPERTIES)
    string(APPEND script " [==[${property}]==]")
  endforeach()
  string(APPEND script ")\n")
  math(EXPR count "${count} + 1")
endmacro()
