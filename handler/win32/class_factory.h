// The class factory that DllGetClassObject hands out on Windows: creates objects of one class
// (protocol adapters, info objects) and refuses aggregation (the browser then retries without
// an outer object).
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace vn::win32 {

class ClassFactory final : public ::IClassFactory {
 public:
  // Makes a new object and hands it out through `riid`.
  using Create = HRESULT (*)(REFIID riid, void** object);

  explicit ClassFactory(Create create);
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(::IUnknown* outer, REFIID riid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  virtual ~ClassFactory();

  Create create_;
  LONG references_ = 1;
};

}  // namespace vn::win32
