# Compiler warnings, sanitizers and the helpers every folder uses.

set(VARNOLIS_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough)
# GCC 12 reports std::variant members as "maybe uninitialized" after moves (a known false
# positive in its inliner); the warning carries no signal for this code base.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND VARNOLIS_WARNINGS -Wno-maybe-uninitialized)
endif()
if(VARNOLIS_WERROR)
  list(APPEND VARNOLIS_WARNINGS -Werror)
endif()

if(VARNOLIS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VARNOLIS_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VARNOLIS_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  # Every object gets coverage instrumentation; only the fuzz targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# varnolis_target_defaults(<target>): warnings and the include root for a project target.
function(varnolis_target_defaults target)
  target_compile_options(${target} PRIVATE ${VARNOLIS_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# varnolis_add_test(<name> SOURCES ... LIBS ... [NOT_ON_WINDOWS pattern...]): one GoogleTest
# executable under CTest. In the Windows build the tests run under Wine (cmake/wine-run.sh), are
# listed when ctest starts and run one GoogleTest suite per Wine process (the time limit and the
# second try are the suite's). Tests that only make sense on Linux say so in their suite's name
# ("TempFileLinuxTest") and are not run there; NOT_ON_WINDOWS names further GoogleTest patterns
# ("Suite.Test", "Suite.*") not run there, each with its reason beside it in the caller;
# ALONE_ON_WINDOWS names suites whose tests run one per Wine process there, with the reason
# beside each; TEST_ACT_ON_WINDOWS: the tests run against the test ACT!, in its prefix, one
# program at a time; WINDOWS_PROPERTIES are further test properties there (name value ...).
function(varnolis_add_test name)
  cmake_parse_arguments(ARG "TEST_ACT_ON_WINDOWS" ""
                        "SOURCES;LIBS;NOT_ON_WINDOWS;ALONE_ON_WINDOWS;WINDOWS_PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  varnolis_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
      VARNOLIS_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      VARNOLIS_PROGRAM_DIR="${VARNOLIS_PROGRAM_DIR}")
  if(WIN32)
    target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/wine/posix_compat.h)
    list(JOIN ARG_NOT_ON_WINDOWS ":" excluded)
    set(with_test_act "")
    if(ARG_TEST_ACT_ON_WINDOWS)
      set(with_test_act WITH_TEST_ACT)
    endif()
    varnolis_add_wine_suites(${name} FILTER "-*Linux*:${excluded}" ALONE ${ARG_ALONE_ON_WINDOWS}
                             ${with_test_act} DISCOVERY_TIMEOUT 180
                             PROPERTIES TIMEOUT 600 ${ARG_WINDOWS_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# varnolis_add_fuzzer(<name> SOURCES ... LIBS ...): one libFuzzer target.
function(varnolis_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  varnolis_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
