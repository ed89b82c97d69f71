// clShellExecute: opens documents, folders, mail addresses and web addresses through the
// desktop (xdg-open), and starts programs. Each operation returns -1 on success, otherwise an
// error value below 33 in the shell's numbering.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

class QWidget;

namespace vn::config {

class clShellExecute {
 public:
  // The shell's error values used here.
  static constexpr long kErrorOutOfResources = 0;
  static constexpr long kErrorFileNotFound = 2;
  static constexpr long kErrorPathNotFound = 3;
  static constexpr long kErrorNoAssociation = 31;
  static constexpr int kShowNormal = 1;
  static constexpr int kStillActive = 259;
  // How long an open waits for the opener's verdict before it counts as launched.
  static constexpr std::chrono::milliseconds kVerdictTime{750};

  clShellExecute() = default;
  ~clShellExecute();
  clShellExecute(const clShellExecute&) = delete;
  clShellExecute& operator=(const clShellExecute&) = delete;

  long Explore(QWidget* window, const std::string& folder, int show = kShowNormal);
  long LaunchDocument(QWidget* window, const std::string& document, const std::string& startFolder,
                      int show = kShowNormal);
  long LaunchEmail(QWidget* window, const std::string& address, int show = kShowNormal);
  long LaunchFolder(QWidget* window, const std::string& folder, int show = kShowNormal);
  long LaunchProgram(const std::string& program, QWidget* window = nullptr,
                     const std::string& parameters = {}, const std::string& startFolder = {},
                     int show = kShowNormal);
  long LaunchURL(const std::string& address, QWidget* window = nullptr, int show = kShowNormal);
  long PrintDocument(QWidget* window, const std::string& document);

  // True while the process of the last extended launch runs.
  bool StillExecuting();

  // The instance result (above 32 on success) and the process id of the last extended launch.
  long InstanceResult() const { return instanceResult_; }
  pid_t ProcessId() const { return processId_; }

  // The opener program (default "xdg-open"); for tests and unusual desktops.
  void SetOpener(std::string opener) { opener_ = std::move(opener); }

 private:
  // Runs the opener on `target` and waits for its verdict, at most kVerdictTime.
  long Open(const std::string& target, const std::string& workingFolder = {});
  // Starts argv without waiting and keeps its process id.
  long StartKept(const std::vector<std::string>& argv, const std::string& workingFolder);
  void Reap();

  std::string opener_ = "xdg-open";
  long instanceResult_ = 0;
  pid_t processId_ = 0;
  int exitCode_ = 0;
};

}  // namespace vn::config
