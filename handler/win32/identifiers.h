// The library's registered identifiers in the Windows API's types (the platform-neutral ones
// are in platform/urlmon.h, whose names clash with the SDK's macros).
#pragma once

#include <windows.h>

namespace vn::win32 {

inline constexpr CLSID kClassProtocolHandler = {
    0xD6D45BE4, 0xEDD5, 0x4F6E, {0x8F, 0x18, 0x33, 0x0C, 0x57, 0x7E, 0xE7, 0xE8}};
inline constexpr const wchar_t* kClassProtocolHandlerText =
    L"{D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}";
inline constexpr const wchar_t* kProgId = L"Varnolis.ProtocolHandler";

inline constexpr GUID kTypeLibrary = {
    0x2268AD97, 0x008F, 0x4EBE, {0xB2, 0x5D, 0x1A, 0x0A, 0x88, 0xE4, 0x3C, 0x89}};
inline constexpr const wchar_t* kTypeLibraryText = L"{2268AD97-008F-4EBE-B25D-1A0A88E43C89}";

}  // namespace vn::win32
