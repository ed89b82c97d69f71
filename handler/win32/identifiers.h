// The library's registered identifiers in the Windows API's types (the platform-neutral ones
// are in platform/urlmon.h, whose names clash with the SDK's macros).
#pragma once

#include <windows.h>

namespace vn::win32 {

inline constexpr CLSID kClassProtocolHandler = {
    0xD6D45BE4, 0xEDD5, 0x4F6E, {0x8F, 0x18, 0x33, 0x0C, 0x57, 0x7E, 0xE7, 0xE8}};
inline constexpr const char* kClassProtocolHandlerText = "{D6D45BE4-EDD5-4F6E-8F18-330C577EE7E8}";

// The info page's class (coclass clHTMLInfo of the type library).
inline constexpr CLSID kClassInfo = {
    0x080F83F0, 0xBCEE, 0x4DF3, {0xA9, 0x76, 0xF3, 0x55, 0x55, 0x4D, 0xC6, 0x60}};
inline constexpr const char* kClassInfoText = "{080F83F0-BCEE-4DF3-A976-F355554DC660}";

inline constexpr GUID kTypeLibrary = {
    0x2268AD97, 0x008F, 0x4EBE, {0xB2, 0x5D, 0x1A, 0x0A, 0x88, 0xE4, 0x3C, 0x89}};
inline constexpr const char* kTypeLibraryText = "{2268AD97-008F-4EBE-B25D-1A0A88E43C89}";

}  // namespace vn::win32
