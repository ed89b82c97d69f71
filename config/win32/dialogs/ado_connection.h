// An ADO connection object reached late-bound, as a script holds it: created by its ProgID
// "ADODB.Connection", its ConnectionString read and written through IDispatch (through the dual
// interface's table where the object's IDispatch cannot serve). The data-link dialog takes and
// gives such objects; the program's own data access never goes through it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "platform/com_ptr.h"

namespace vn::config::win32 {

class AdoConnection {
 public:
  explicit AdoConnection(ComPtr<IDispatch> connection) : connection_(std::move(connection)) {}

  // A new connection object; throws vn::RuntimeError (the HRESULT and the system's text) when
  // ADO is not there.
  static AdoConnection Create();

  // Throw vn::RuntimeError (see ThrowComError) when the call fails.
  std::string ConnectionString() const;
  void SetConnectionString(const std::string& text);

  IDispatch* Dispatch() const { return connection_.get(); }

 private:
  HRESULT ConnectionStringId(DISPID& id) const;

  ComPtr<IDispatch> connection_;
};

// The RuntimeError for a failed COM call: the HRESULT as number, the system's text (or the hex
// code where the system has none) as description.
[[noreturn]] void ThrowComError(HRESULT hr, const std::string& what);

}  // namespace vn::config::win32
