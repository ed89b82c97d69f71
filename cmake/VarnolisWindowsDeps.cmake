# The libraries of the Windows build, under the target names the Linux build finds them by:
#  SQLite::SQLite3   the pinned amalgamation in .deps/sqlite3/ (scripts/setup-windows.sh fetches it)
#  ODBC::ODBC        Windows' driver manager odbc32
#  nlohmann_json::nlohmann_json  the build host's header-only copy

set(VARNOLIS_SQLITE_DIR ${PROJECT_SOURCE_DIR}/.deps/sqlite3 CACHE PATH
    "Folder with the SQLite amalgamation (sqlite3.c, sqlite3.h)")
if(NOT EXISTS ${VARNOLIS_SQLITE_DIR}/sqlite3.c OR NOT EXISTS ${VARNOLIS_SQLITE_DIR}/sqlite3.h)
  message(FATAL_ERROR "No SQLite amalgamation in ${VARNOLIS_SQLITE_DIR}: run "
                      "'bash scripts/setup-windows.sh' first")
endif()
add_library(vn_sqlite3 STATIC ${VARNOLIS_SQLITE_DIR}/sqlite3.c)
target_include_directories(vn_sqlite3 SYSTEM PUBLIC ${VARNOLIS_SQLITE_DIR})
# The options of Debian's libsqlite3 that the data layer relies on (column metadata for field
# types, the per-connection double-quote switch); the amalgamation's own code is not ours to warn on.
target_compile_definitions(vn_sqlite3 PRIVATE
    SQLITE_THREADSAFE=1 SQLITE_ENABLE_COLUMN_METADATA SQLITE_ENABLE_MATH_FUNCTIONS
    SQLITE_OMIT_LOAD_EXTENSION SQLITE_DEFAULT_FOREIGN_KEYS=0)
target_compile_options(vn_sqlite3 PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS vn_sqlite3)

add_library(ODBC::ODBC INTERFACE IMPORTED)
set_target_properties(ODBC::ODBC PROPERTIES INTERFACE_LINK_LIBRARIES odbc32)

# Header-only: linked into the build tree so that no host include folder enters the compiler's
# search path (it would offer glibc's headers to the Windows compiler).
find_path(VARNOLIS_NLOHMANN_INCLUDE nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH
          PATHS /usr/include /usr/local/include)
if(NOT VARNOLIS_NLOHMANN_INCLUDE)
  message(FATAL_ERROR "nlohmann/json.hpp not found (Debian: nlohmann-json3-dev)")
endif()
set(VARNOLIS_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${VARNOLIS_HOST_HEADERS})
file(CREATE_LINK ${VARNOLIS_NLOHMANN_INCLUDE}/nlohmann ${VARNOLIS_HOST_HEADERS}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${VARNOLIS_HOST_HEADERS}
    INTERFACE_INCLUDE_DIRECTORIES ${VARNOLIS_HOST_HEADERS})
