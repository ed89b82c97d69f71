// The class factory that DllGetClassObject hands out on Windows: creates protocol adapters and
// refuses aggregation (the browser then retries without an outer object).
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace vn::win32 {

class ClassFactory final : public ::IClassFactory {
 public:
  ClassFactory();
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(::IUnknown* outer, REFIID riid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  virtual ~ClassFactory();

  LONG references_ = 1;
};

}  // namespace vn::win32
