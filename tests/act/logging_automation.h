// Test support: an automation layer that writes down every call (member and arguments with their
// types, window enumerations as "EnumWindows") and passes it on to the layer it wraps.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "act/automation.h"

namespace vn::test {

struct CallLog {
  std::vector<std::string> calls;
  int objectsCreated = 0;
};

inline std::string Describe(const AutoValue& v) {
  if (v.Is<std::int16_t>()) return "i16:" + std::to_string(v.As<std::int16_t>());
  if (v.Is<std::int32_t>()) return "i32:" + std::to_string(v.As<std::int32_t>());
  if (v.Is<bool>()) return v.As<bool>() ? "true" : "false";
  if (v.Is<std::string>()) return "'" + v.As<std::string>() + "'";
  return "?";
}

class LoggingObject : public clAutomationObject {
 public:
  LoggingObject(AutoObject inner, std::shared_ptr<CallLog> log)
      : inner_(std::move(inner)), log_(std::move(log)) {}
  AutoValue Invoke(const std::string& member, std::vector<AutoValue>& args) override {
    std::string call = member + "(";
    for (size_t i = 0; i < args.size(); ++i) call += (i ? "," : "") + Describe(args[i]);
    log_->calls.push_back(call + ")");
    return Wrap(inner_->Invoke(member, args));
  }
  AutoValue GetProperty(const std::string& member) override {
    log_->calls.push_back(member);
    return Wrap(inner_->GetProperty(member));
  }
  void PutProperty(const std::string& member, const AutoValue& value) override {
    inner_->PutProperty(member, value);
  }

 private:
  AutoValue Wrap(AutoValue v) {
    if (v.Object()) return AutoObject(std::make_shared<LoggingObject>(v.Object(), log_));
    return v;
  }
  AutoObject inner_;
  std::shared_ptr<CallLog> log_;
};

class LoggingHost : public clAutomationHost {
 public:
  LoggingHost(std::shared_ptr<clAutomationHost> inner, std::shared_ptr<CallLog> log)
      : inner_(std::move(inner)), log_(std::move(log)) {}
  AutoObject CreateObject(const std::string& progId) override {
    ++log_->objectsCreated;
    return std::make_shared<LoggingObject>(inner_->CreateObject(progId), log_);
  }
  void DoEvents() override {}

 private:
  std::shared_ptr<clAutomationHost> inner_;
  std::shared_ptr<CallLog> log_;
};

class LoggingWindows : public clWindowList {
 public:
  LoggingWindows(std::shared_ptr<clWindowList> inner, std::shared_ptr<CallLog> log)
      : inner_(std::move(inner)), log_(std::move(log)) {}
  std::vector<WindowHandle> EnumWindows() override {
    log_->calls.push_back("EnumWindows");
    return inner_->EnumWindows();
  }
  bool IsWindowVisible(WindowHandle hwnd) override { return inner_->IsWindowVisible(hwnd); }
  bool IsWindow(WindowHandle hwnd) override { return inner_->IsWindow(hwnd); }
  std::string GetClassName(WindowHandle hwnd) override { return inner_->GetClassName(hwnd); }
  int GetWindowTextLength(WindowHandle hwnd) override { return inner_->GetWindowTextLength(hwnd); }
  std::string GetWindowText(WindowHandle hwnd) override { return inner_->GetWindowText(hwnd); }

 private:
  std::shared_ptr<clWindowList> inner_;
  std::shared_ptr<CallLog> log_;
};

// `inner` with its windows and objects logged into `log`.
inline ACTAutomation Logged(const ACTAutomation& inner, const std::shared_ptr<CallLog>& log) {
  return {std::make_shared<LoggingWindows>(inner.windows, log),
          std::make_shared<LoggingHost>(inner.host, log)};
}

// How often `call` is in `log`.
inline long Calls(const CallLog& log, const std::string& call) {
  long n = 0;
  for (const std::string& c : log.calls) n += c == call;
  return n;
}

}  // namespace vn::test
