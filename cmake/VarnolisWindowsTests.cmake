# GoogleTest for the Windows build, compiled from the build host's sources (Debian: googletest),
# and the Wine set-up the tests run in (DESIGN: the Windows build, tests under Wine):
#  - a private 32-bit prefix per build folder (<build>/wineprefix), display driver "null",
#    regional settings of the prefix set to the Windows defaults of the locale under test;
#  - every test program runs through cmake/wine-run.sh, which makes the prefix on first use
#    and keeps one wineserver (-p) for the whole run; the test "wine_server_stop" ends it;
#  - the ACT! suite runs in a second prefix (<build>/wineprefix-act, through wine-run-act.sh),
#    where the test ACT! is registered and its windows are seen, beside the other suites, which
#    see no ACT! in theirs.

find_path(VARNOLIS_GTEST_SOURCE googletest/CMakeLists.txt NO_CMAKE_FIND_ROOT_PATH
          PATHS /usr/src/googletest)
if(NOT VARNOLIS_GTEST_SOURCE)
  message(FATAL_ERROR "GoogleTest sources not found (Debian: googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VARNOLIS_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# (GoogleTest defines GTest::gtest and GTest::gtest_main itself.)

# The locale under test: LC_ALL of every Wine process and the regional settings of the prefix.
set(VARNOLIS_WINE_LOCALE de_DE.UTF-8 CACHE STRING "Locale the Windows tests run under (de_DE or en_US)")
set(VARNOLIS_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VARNOLIS_WINE_ARCH win64)
else()
  set(VARNOLIS_WINE_ARCH win32)
endif()
get_filename_component(VARNOLIS_WINE_DIR ${VARNOLIS_WINE} DIRECTORY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
               WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
set(VARNOLIS_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-act)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run-act.sh
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
               WORLD_READ WORLD_EXECUTE)
set(VARNOLIS_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# Starts each prefix's persistent wineserver before its tests, alone: tests started together
# would otherwise race to start it, and a server that Wine starts on its own keeps the output
# pipe of the test that started it open, so that ctest waits for that test forever. Ends it after
# the tests (a fixture's clean-up runs last).
add_test(NAME wine_server_start COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --start)
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine)
add_test(NAME wine_server_stop COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh --stop)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)
add_test(NAME wine_act_server_start COMMAND ${CMAKE_BINARY_DIR}/wine-run-act.sh --start)
set_tests_properties(wine_act_server_start PROPERTIES FIXTURES_SETUP wine_act)
add_test(NAME wine_act_server_stop COMMAND ${CMAKE_BINARY_DIR}/wine-run-act.sh --stop)
set_tests_properties(wine_act_server_stop PROPERTIES FIXTURES_CLEANUP wine_act)

# The test ACT! (tests/windows/test_act) is registered in the ACT! suite's prefix as
# "ACTOLE.APPOBJECT" for this user before the suite runs, and removed after it, before the
# wineserver ends.
add_test(NAME test_act_register
         COMMAND ${CMAKE_BINARY_DIR}/wine-run-act.sh $<TARGET_FILE:test_act_server> --register)
set_tests_properties(test_act_register PROPERTIES FIXTURES_SETUP wine_act
                     DEPENDS wine_act_server_start)
add_test(NAME test_act_unregister
         COMMAND ${CMAKE_BINARY_DIR}/wine-run-act.sh $<TARGET_FILE:test_act_server> --unregister)
set_tests_properties(test_act_unregister PROPERTIES FIXTURES_CLEANUP wine_act)
set_tests_properties(wine_act_server_stop PROPERTIES DEPENDS test_act_unregister)

# varnolis_add_wine_suites(<target> FILTER negative-filter [ALONE suite...] [WITH_TEST_ACT]
#                          DISCOVERY_TIMEOUT seconds PROPERTIES ...):
# when ctest starts, the program's tests are listed under Wine and each GoogleTest suite becomes
# one CTest test "<target>:<suite>" that runs the suite's tests in one Wine process; the tests
# of an ALONE suite become one CTest test each, "<target>:<suite>.<test>"
# (cmake/VarnolisWineSuites.cmake). Listed again whenever the program is newer than the list.
# WITH_TEST_ACT: they run in the ACT! suite's prefix, one program at a time there.
function(varnolis_add_wine_suites target)
  cmake_parse_arguments(ARG "WITH_TEST_ACT" "FILTER;DISCOVERY_TIMEOUT" "ALONE;PROPERTIES" ${ARGN})
  set(ctest_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake)
  set(runner ${CMAKE_BINARY_DIR}/wine-run.sh)
  set(prefix_properties FIXTURES_REQUIRED wine)
  if(ARG_WITH_TEST_ACT)
    set(runner ${CMAKE_BINARY_DIR}/wine-run-act.sh)
    set(prefix_properties FIXTURES_REQUIRED wine_act RESOURCE_LOCK wineprefix-act)
  endif()
  set(alone "")
  foreach(suite IN LISTS ARG_ALONE)
    string(APPEND alone " [==[${suite}]==]")
  endforeach()
  set(properties "")
  foreach(property IN LISTS ARG_PROPERTIES prefix_properties)
    string(APPEND properties " [==[${property}]==]")
  endforeach()
  file(GENERATE OUTPUT ${include_file} CONTENT
"if(EXISTS [==[$<TARGET_FILE:${target}>]==])
  if(NOT EXISTS [==[${ctest_file}]==] OR
     NOT [==[${ctest_file}]==] IS_NEWER_THAN [==[$<TARGET_FILE:${target}>]==] OR
     NOT [==[${ctest_file}]==] IS_NEWER_THAN \"\${CMAKE_CURRENT_LIST_FILE}\")
    include([==[${PROJECT_SOURCE_DIR}/cmake/VarnolisWineSuites.cmake]==])
    varnolis_wine_suites_impl(
      EXECUTABLE [==[$<TARGET_FILE:${target}>]==]
      LISTER [==[${CMAKE_BINARY_DIR}/wine-run.sh]==]
      RUNNER [==[${runner}]==]
      NAME_PREFIX ${target}
      FILTER [==[${ARG_FILTER}]==]
      ALONE${alone}
      CTEST_FILE [==[${ctest_file}]==]
      DISCOVERY_TIMEOUT ${ARG_DISCOVERY_TIMEOUT}
      PROPERTIES${properties})
  endif()
  include([==[${ctest_file}]==])
else()
  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
