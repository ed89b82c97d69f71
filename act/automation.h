// The automation layer under the ACT! bridge: the top-level window list and ACT!'s automation
// object reached by member name. The bridge's logic sees only these interfaces, so it runs
// unchanged over ACT! itself or over the stand-in file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace vn {

class clAutomationObject;
using AutoObject = std::shared_ptr<clAutomationObject>;

// One argument or result of an automation call: empty, a Boolean, a 16- or 32-bit integer, a
// double, a string or an object reference (which may be empty: "nothing"). An argument may be
// marked as passed by reference: ACT! may then change it, and the caller's copy takes the change.
class AutoValue {
 public:
  using Value = std::variant<std::monostate, bool, std::int16_t, std::int32_t, double, std::string,
                             AutoObject>;

  AutoValue() = default;
  AutoValue(bool v) : value_(v) {}
  AutoValue(std::int16_t v) : value_(v) {}
  AutoValue(std::int32_t v) : value_(v) {}
  AutoValue(double v) : value_(v) {}
  AutoValue(std::string v) : value_(std::move(v)) {}
  AutoValue(const char* v) : value_(std::string(v)) {}
  AutoValue(AutoObject v) : value_(std::move(v)) {}

  // `value` marked as an argument passed by reference.
  static AutoValue Ref(AutoValue value) {
    value.byRef_ = true;
    return value;
  }
  bool IsRef() const { return byRef_; }

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  template <typename T>
  bool Is() const {
    return std::holds_alternative<T>(value_);
  }
  template <typename T>
  const T& As() const {
    return std::get<T>(value_);
  }
  const Value& Raw() const { return value_; }

  // The object, or null when the value is empty or not an object.
  AutoObject Object() const;
  // Integers of either width and Booleans (-1/0) as a 32-bit integer; anything else throws a
  // type-mismatch automation error.
  std::int32_t ToLong() const;
  // The value as text: strings as they are, integers in decimal, empty as "".
  std::string ToText() const;

 private:
  Value value_;
  bool byRef_ = false;
};

// Automation error numbers that callers test for.
inline constexpr long kRpcServerFault = -2147417851;    // 0x80010105: the server threw an exception
inline constexpr long kDispUnknownName = -2147352570;   // 0x80020006
inline constexpr long kDispTypeMismatch = -2147352571;  // 0x80020005
inline constexpr long kDispBadParamCount = -2147352562;  // 0x8002000E
inline constexpr long kCannotCreateObject = 429;         // "ActiveX component can't create object"

// An automation object reached through its dispatch interface, by member name (names compare
// without regard to case). Failures are thrown as RuntimeError with the automation error number.
class clAutomationObject {
 public:
  virtual ~clAutomationObject() = default;

  // Calls method `member`; `args` are in call order, and a by-reference argument may come back
  // changed.
  virtual AutoValue Invoke(const std::string& member, std::vector<AutoValue>& args) = 0;
  virtual AutoValue GetProperty(const std::string& member) = 0;
  // An empty member name is the default property.
  virtual void PutProperty(const std::string& member, const AutoValue& value) = 0;

  AutoValue Call(const std::string& member, std::vector<AutoValue> args = {}) {
    return Invoke(member, args);
  }
};

// The system side: creating an automation object by programmatic identifier and letting the
// calling thread's pending window messages run.
class clAutomationHost {
 public:
  virtual ~clAutomationHost() = default;
  virtual AutoObject CreateObject(const std::string& progId) = 0;
  virtual void DoEvents() = 0;
};

// A top-level window as the window functions see it.
using WindowHandle = std::uintptr_t;

// The top-level windows of the desktop. `EnumWindows` lists the handles (never 0) in
// enumeration order; the other members answer for one handle.
class clWindowList {
 public:
  virtual ~clWindowList() = default;
  virtual std::vector<WindowHandle> EnumWindows() = 0;
  virtual bool IsWindowVisible(WindowHandle hwnd) = 0;
  virtual bool IsWindow(WindowHandle hwnd) = 0;
  virtual std::string GetClassName(WindowHandle hwnd) = 0;
  // The title's length in characters, and the title itself.
  virtual int GetWindowTextLength(WindowHandle hwnd) = 0;
  virtual std::string GetWindowText(WindowHandle hwnd) = 0;
};

// What the bridge runs over.
struct ACTAutomation {
  std::shared_ptr<clWindowList> windows;
  std::shared_ptr<clAutomationHost> host;
};

}  // namespace vn
