// On Windows the ACT! of the tests is the test ACT! (tests/windows/test_act): a program of its
// own that serves ACT!'s automation object over COM from the test's state file and shows the
// state's windows. TestActProcess starts it on the state, has it follow the state after each
// change, counts what it still serves and ends it. (No <windows.h> here: its macros would
// rename the window list's members in the tests.)
#pragma once

#ifdef _WIN32

#include <string>

namespace vn::test {

class TestActProcess {
 public:
  TestActProcess() = default;
  ~TestActProcess() { Stop(); }
  TestActProcess(const TestActProcess&) = delete;
  TestActProcess& operator=(const TestActProcess&) = delete;

  // Starts the test ACT! on `state`, or has the running one make its windows afresh from it.
  void Sync(const std::string& state);
  // The automation objects the test ACT! still serves; -1 when it is not running.
  long LiveCount();
  // The automation calls the test ACT! served since the last time asked; -1 when it is not
  // running.
  long Calls();
  void Stop();

  // "Z:\..." for a path of the Linux side ("/..."), as Wine maps the root to drive Z:.
  static std::string WindowsPath(std::string path);

  // COM for the test's thread, in the browser's apartment model.
  static void EnterApartment();
  static void LeaveApartment();

 private:
  bool Running() const;
  void Close();

  void* process_ = nullptr;  // the process handle
};

}  // namespace vn::test

#endif  // _WIN32
