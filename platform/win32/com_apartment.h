// COM for the calling thread in the single-threaded apartment model (the browser's, and the one
// the system's dialogs need), for as long as the owner lives. A thread already in an apartment
// keeps it: only an initialisation this owner made is undone.
#pragma once

#include <objbase.h>

namespace vn::win32 {

class ComApartment {
 public:
  ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT Result() const { return hr_; }

 private:
  HRESULT hr_;
};

}  // namespace vn::win32
