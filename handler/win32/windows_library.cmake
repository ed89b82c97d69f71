# The component server's Windows side, included by the top CMakeLists.txt for target
# `varnolis` (varnolis.dll): the protocol handler's component class over the request, the info
# page's class for scripts, the class factory and self-registration, the four entry points of
# varnolis.def, and the resources (version information from the top CMakeLists.txt, the type
# library compiled by widl).
enable_language(RC)

set(VN_WIN32_DIR ${CMAKE_SOURCE_DIR}/handler/win32)
set(VN_WIN32_GENERATED ${CMAKE_BINARY_DIR}/generated/handler/win32)
file(MAKE_DIRECTORY ${VN_WIN32_GENERATED})

# widl of mingw-w64-tools; the type library refers to IUnknown and IDispatch in Wine's
# stdole2.tlb, which widl reads while compiling.
string(REGEX REPLACE "-g?c\\+\\+(-posix)?$" "" VN_MINGW_PREFIX "${CMAKE_CXX_COMPILER}")
find_program(VARNOLIS_WIDL NAMES ${VN_MINGW_PREFIX}-widl i686-w64-mingw32-widl widl REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VN_WIDL_ARCH -m64)
  set(VN_STDOLE_DIRS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows)
else()
  set(VN_WIDL_ARCH -m32)
  set(VN_STDOLE_DIRS /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows)
endif()
find_path(VARNOLIS_STDOLE2_DIR stdole2.tlb PATHS ${VN_STDOLE_DIRS}
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT VARNOLIS_STDOLE2_DIR)
  message(FATAL_ERROR "stdole2.tlb of Wine not found (install wine: scripts/setup-windows.sh)")
endif()

configure_file(${VN_WIN32_DIR}/varnolis.idl.in ${VN_WIN32_GENERATED}/varnolis.idl @ONLY)
set(VARNOLIS_TYPELIB_FILE ${VN_WIN32_GENERATED}/varnolis.tlb)
add_custom_command(
  OUTPUT ${VARNOLIS_TYPELIB_FILE}
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
          ${VARNOLIS_WIDL} ${VN_WIDL_ARCH} -t -L ${VARNOLIS_STDOLE2_DIR}
          -o ${VARNOLIS_TYPELIB_FILE} ${VN_WIN32_GENERATED}/varnolis.idl
  DEPENDS ${VN_WIN32_GENERATED}/varnolis.idl
  COMMENT "Compiling the type library varnolis.tlb")
configure_file(${VN_WIN32_DIR}/varnolis.rc.in ${VN_WIN32_GENERATED}/varnolis.rc @ONLY)
set_source_files_properties(${VN_WIN32_GENERATED}/varnolis.rc PROPERTIES
    OBJECT_DEPENDS ${VARNOLIS_TYPELIB_FILE})

set(VN_WIN32_SOURCES
    ${VN_WIN32_DIR}/class_factory.cpp
    ${VN_WIN32_DIR}/exports.cpp
    ${VN_WIN32_DIR}/info_object.cpp
    ${VN_WIN32_DIR}/protocol_handler.cpp
    ${VN_WIN32_DIR}/registration.cpp)
# The SDK's COM interfaces have no virtual destructors: objects die through Release.
set_source_files_properties(${VN_WIN32_SOURCES} PROPERTIES COMPILE_OPTIONS -Wno-non-virtual-dtor)
# The Windows entry points; the Linux ones (handler/posix/) are not part of this build.
set_property(TARGET varnolis PROPERTY SOURCES
    ${VN_WIN32_SOURCES} ${VN_WIN32_GENERATED}/varnolis.rc ${VN_WIN32_DIR}/varnolis.def)
target_link_libraries(varnolis PRIVATE oleaut32 ole32 uuid)
# No runtime DLL beside the library; the undecorated names of the .def file bind to the
# stdcall entry points.
target_link_options(varnolis PRIVATE -static -Wl,--enable-stdcall-fixup)
