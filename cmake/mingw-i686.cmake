# Toolchain for the 32-bit Windows library and host (the contact manager's browser is a 32-bit
# process): mingw-w64's -posix compilers (the -win32 ones lack std::mutex and std::thread, which
# GoogleTest needs), everything linked statically, tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VARNOLIS_MINGW_TRIPLET i686-w64-mingw32)
set(VARNOLIS_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
