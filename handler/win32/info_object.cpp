#include "handler/win32/info_object.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "act/automation.h"
#include "act/win32/dispatch_server.h"
#include "handler/module_lock.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "render/html_info.h"

namespace vn::win32 {
namespace {

// clHTMLInfo's members as an automation object, for the dispatch server. A script may read a
// property as a call and call a method without arguments as a property, as VBScript does.
class InfoAutomation final : public clAutomationObject {
 public:
  AutoValue Invoke(const std::string& member, std::vector<AutoValue>& args) override {
    return Answer(member, args);
  }
  AutoValue GetProperty(const std::string& member) override {
    std::vector<AutoValue> none;
    return Answer(member, none);
  }
  void PutProperty(const std::string& member, const AutoValue&) override {
    throw RuntimeError(kDispUnknownName, "clHTMLInfo has no property to set: " + member,
                       "clHTMLInfo");
  }

 private:
  AutoValue Answer(const std::string& member, const std::vector<AutoValue>& args) {
    const std::string name = LowerAscii(member);
    if (name == "init") {
      if (args.size() != 1) throw RuntimeError(kDispBadParamCount, "Init", "clHTMLInfo");
      return AutoValue(info_.Init(args[0].ToText()));
    }
    if (!args.empty()) throw RuntimeError(kDispBadParamCount, member, "clHTMLInfo");
    if (name == "errnumber") return AutoValue(static_cast<std::int32_t>(info_.ErrNumber()));
    if (name == "errdescription") return AutoValue(info_.ErrDescription());
    if (name == "ready") return AutoValue(info_.Ready());
    if (name == "getnext") return AutoValue(info_.GetNext());
    throw RuntimeError(kDispUnknownName, "Unknown name: " + member, "clHTMLInfo");
  }

  ModuleLock lock_;  // first: the library stays loaded until the object is gone
  clHTMLInfo info_;
};

}  // namespace

HRESULT CreateInfoObject(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  try {
    return ServedDispatchOf(std::make_shared<InfoAutomation>())->QueryInterface(riid, object);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    // No exception may leave a component call: the caller learns the failure from the result.
    return E_FAIL;
  }
}

}  // namespace vn::win32
