// COM for the calling thread in the browser's apartment model (single-threaded), for as long as
// the owner lives.
#pragma once

#include <objbase.h>

namespace vn::host {

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

}  // namespace vn::host
