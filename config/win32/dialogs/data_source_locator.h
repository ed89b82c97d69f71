// IDataSourceLocator of the OLE DB service components' class DataLinks: the system's data-link
// dialog as a script reaches it. Declared here from Microsoft's documentation because the
// toolchain's uuid library has no identifier of the interface.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace vn::config::win32 {

// {2206CDB2-19C1-11D1-89E0-00C04FD7A829}: class DataLinks.
inline constexpr CLSID kClsidDataLinks = {
    0x2206CDB2, 0x19C1, 0x11D1, {0x89, 0xE0, 0x00, 0xC0, 0x4F, 0xD7, 0xA8, 0x29}};
// {2206CCB2-19C1-11D1-89E0-00C04FD7A829}: IDataSourceLocator.
inline constexpr IID kIidDataSourceLocator = {
    0x2206CCB2, 0x19C1, 0x11D1, {0x89, 0xE0, 0x00, 0xC0, 0x4F, 0xD7, 0xA8, 0x29}};

// The owner window's handle as the interface carries it: a LONG in 32-bit programs, a LONGLONG
// in 64-bit ones (COMPATIBLE_LONG).
#ifdef _WIN64
using CompatibleLong = LONGLONG;
#else
using CompatibleLong = LONG;
#endif

// The dialog's methods after IDispatch's, in the documented order.
struct IDataSourceLocator : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_hWnd(CompatibleLong* parent) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_hWnd(CompatibleLong parent) = 0;
  // A new ADO connection (S_OK), or none when the user cancelled (S_FALSE, null).
  virtual HRESULT STDMETHODCALLTYPE PromptNew(IDispatch** connection) = 0;
  // Edits the ADO connection in place (or replaces it); `success` tells whether the user
  // confirmed.
  virtual HRESULT STDMETHODCALLTYPE PromptEdit(IDispatch** connection, VARIANT_BOOL* success) = 0;
};

}  // namespace vn::config::win32
