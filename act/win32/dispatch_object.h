// clDispatchObject: an automation object of another component reached through its IDispatch,
// members found by name (GetIDsOfNames, ids kept per object) and called late-bound (Invoke), as
// VB calls an object held in an Object variable.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <map>
#include <string>
#include <vector>

#include "act/automation.h"
#include "platform/com_ptr.h"

namespace vn::win32 {

class clDispatchObject : public clAutomationObject {
 public:
  explicit clDispatchObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  // A method call (DISPATCH_METHOD | DISPATCH_PROPERTYGET, as VB makes it). Arguments marked
  // by reference go as VT_BYREF and take back what the member left in them.
  AutoValue Invoke(const std::string& member, std::vector<AutoValue>& args) override;
  AutoValue GetProperty(const std::string& member) override;
  void PutProperty(const std::string& member, const AutoValue& value) override;

  IDispatch* Dispatch() const { return dispatch_.get(); }

 private:
  DISPID IdOf(const std::string& member);
  AutoValue Call(const std::string& member, WORD flags, std::vector<AutoValue>& args);

  ComPtr<IDispatch> dispatch_;
  std::map<std::string, DISPID> ids_;  // by lower-case member name
};

// The client side's crossing of objects: an IDispatch becomes a clDispatchObject, and only a
// clDispatchObject can be handed back.
ComPtr<IDispatch> ClientDispatchOf(const AutoObject& object);
AutoObject ClientObjectOf(IDispatch* dispatch);

}  // namespace vn::win32
