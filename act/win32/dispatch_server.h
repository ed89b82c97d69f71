// The server side of the automation layer: an IDispatch over one automation object of ours (the
// info page's class for scripts, the stand-in's objects in the test ACT!). Member names get ids
// per object (compared without regard to case); Invoke answers through the object, objects it
// returns are served the same way, and its automation errors go back as DISP_E_EXCEPTION with
// their number and description. Every served object is counted while it lives, so that a test
// can see that the client let go of all of them.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <string>
#include <vector>

#include "act/automation.h"
#include "platform/com_ptr.h"

namespace vn::win32 {

class DispatchServer final : public IDispatch {
 public:
  explicit DispatchServer(AutoObject object);
  ~DispatchServer();
  DispatchServer(const DispatchServer&) = delete;
  DispatchServer& operator=(const DispatchServer&) = delete;

  // Served objects not yet released.
  static long Live();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

 private:
  AutoValue Dispatch(const std::string& member, WORD flags, std::vector<AutoValue>& args);

  std::atomic<ULONG> references_{1};
  AutoObject object_;
  std::vector<std::string> names_;  // lower case; id = index + 1
  static std::atomic<long> live_;
};

// `object` served: the one reference the client receives.
ComPtr<IDispatch> ServedDispatchOf(const AutoObject& object);

}  // namespace vn::win32
