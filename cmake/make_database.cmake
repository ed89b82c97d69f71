# Makes a fresh SQLite database file from SQL scripts with the build host's sqlite3 program, all
# in one transaction, so that a failing script leaves no half-made file behind (the cross build's
# counterpart of databases/make_database.cpp).
# Usage: cmake -DSQLITE3=<program> -P make_database.cmake OUTPUT SCRIPT...
set(arguments)
foreach(i RANGE 1 ${CMAKE_ARGC})
  if(DEFINED CMAKE_ARGV${i})
    list(APPEND arguments "${CMAKE_ARGV${i}}")
  endif()
endforeach()
list(FIND arguments "-P" script_at)
math(EXPR first "${script_at} + 2")
list(SUBLIST arguments ${first} -1 files)
list(POP_FRONT files output)
if(NOT output OR NOT files)
  message(FATAL_ERROR "usage: cmake -DSQLITE3=<program> -P make_database.cmake OUTPUT SCRIPT...")
endif()

set(temporary "${output}.part")
file(REMOVE "${temporary}" "${temporary}.sql")
file(WRITE "${temporary}.sql" "BEGIN;\n")
foreach(script ${files})
  file(READ "${script}" text)
  file(APPEND "${temporary}.sql" "${text}\n")
endforeach()
file(APPEND "${temporary}.sql" "COMMIT;\n")
execute_process(COMMAND "${SQLITE3}" -bail "${temporary}"
                INPUT_FILE "${temporary}.sql" RESULT_VARIABLE result ERROR_VARIABLE error)
file(REMOVE "${temporary}.sql")
if(NOT result EQUAL 0 OR NOT error STREQUAL "")
  file(REMOVE "${temporary}")
  message(FATAL_ERROR "make_database: ${error}")
endif()
file(RENAME "${temporary}" "${output}")
