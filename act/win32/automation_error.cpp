#include "act/win32/automation_error.h"

#include "platform/runtime_error.h"
#include "platform/win32/wide.h"

namespace vn::win32 {
namespace {

std::string Text(BSTR text) {
  return text == nullptr ? std::string() : Narrow(std::wstring_view(text, ::SysStringLen(text)));
}

}  // namespace

void ThrowAutomationError(HRESULT hr, EXCEPINFO* exception, const std::string& member) {
  if (hr == DISP_E_EXCEPTION && exception != nullptr) {
    if (exception->pfnDeferredFillIn != nullptr) exception->pfnDeferredFillIn(exception);
    // A server that sets only the 16-bit code (as VB's own objects may) is taken by that code.
    const long number =
        exception->scode != 0 ? static_cast<long>(exception->scode) : exception->wCode;
    std::string description = Text(exception->bstrDescription);
    if (description.empty()) description = SystemErrorText(static_cast<DWORD>(number));
    std::string source = Text(exception->bstrSource);
    throw RuntimeError(number, description, source.empty() ? member : source);
  }
  throw RuntimeError(static_cast<long>(hr), SystemErrorText(static_cast<DWORD>(hr)), member);
}

}  // namespace vn::win32
