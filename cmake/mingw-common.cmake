# The part of the mingw-w64 toolchains that does not depend on the word size; included by
# mingw-i686.cmake and mingw-x86_64.cmake after they name the triplet and the Wine loader.
set(CMAKE_C_COMPILER ${VARNOLIS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNOLIS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNOLIS_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${VARNOLIS_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${VARNOLIS_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")
find_program(VARNOLIS_WIDL NAMES ${VARNOLIS_MINGW_TRIPLET}-widl widl)

set(CMAKE_FIND_ROOT_PATH /usr/${VARNOLIS_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No runtime DLLs beside the programs: the C and C++ runtimes and winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Windows 7 and later (GetLocaleInfoEx, LOCALE_NAME_USER_DEFAULT).
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DUNICODE -D_UNICODE -DNOMINMAX")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DUNICODE -D_UNICODE -DNOMINMAX")

# Test programs run under Wine; tests/wine.cmake sets up the private prefix they use.
find_program(VARNOLIS_WINE NAMES ${VARNOLIS_WINE_LOADER})
if(VARNOLIS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VARNOLIS_WINE})
endif()
