# Toolchain for a 64-bit Windows build of the same program folder (see mingw-i686.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARNOLIS_MINGW_TRIPLET x86_64-w64-mingw32)
set(VARNOLIS_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
