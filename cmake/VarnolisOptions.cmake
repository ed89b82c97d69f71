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

# varnolis_add_test(<name> SOURCES ... LIBS ...): one GoogleTest executable under CTest.
function(varnolis_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  varnolis_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
      VARNOLIS_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      VARNOLIS_PROGRAM_DIR="${VARNOLIS_PROGRAM_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()

# varnolis_add_fuzzer(<name> SOURCES ... LIBS ...): one libFuzzer target.
function(varnolis_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  varnolis_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
