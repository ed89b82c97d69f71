#include "config/qt/shell_execute.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <sstream>
#include <thread>

namespace vn::config {

namespace {

// Starts argv in `workingFolder`; returns the child's id, or -1 with the exec failure's errno
// in `execErrno` (reported through a close-on-exec pipe).
pid_t Spawn(const std::vector<std::string>& argv, const std::string& workingFolder,
            int& execErrno) {
  execErrno = 0;
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    execErrno = errno;
    return -1;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    execErrno = errno;
    close(pipeFds[0]);
    close(pipeFds[1]);
    return -1;
  }
  if (pid == 0) {
    close(pipeFds[0]);
    int error = 0;
    if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) {
      error = errno;
    } else {
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      execvp(args[0], args.data());
      error = errno;
    }
    if (write(pipeFds[1], &error, sizeof error) < 0) _exit(127);
    _exit(127);
  }
  close(pipeFds[1]);
  int error = 0;
  ssize_t got;
  do {
    got = read(pipeFds[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(pipeFds[0]);
  if (got == static_cast<ssize_t>(sizeof error)) {
    int status = 0;
    waitpid(pid, &status, 0);
    execErrno = error;
    return -1;
  }
  return pid;
}

long ErrorOfErrno(int error) {
  if (error == ENOENT) return clShellExecute::kErrorFileNotFound;
  if (error == ENOTDIR) return clShellExecute::kErrorPathNotFound;
  if (error == EACCES) return 5;  // access denied
  return clShellExecute::kErrorOutOfResources;
}

// xdg-open's exit codes: 1 bad arguments, 2 no such file, 3 no tool found, 4 action failed.
long ErrorOfOpenerExit(int code) {
  switch (code) {
    case 0:
      return -1;
    case 2:
      return clShellExecute::kErrorFileNotFound;
    default:
      return clShellExecute::kErrorNoAssociation;
  }
}

std::vector<std::string> SplitParameters(const std::string& parameters) {
  std::vector<std::string> words;
  std::istringstream in(parameters);
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

}  // namespace

clShellExecute::~clShellExecute() { Reap(); }

long clShellExecute::Open(const std::string& target, const std::string& workingFolder) {
  int execErrno = 0;
  const pid_t pid = Spawn({opener_, target}, workingFolder, execErrno);
  if (pid < 0) return execErrno == ENOENT ? kErrorNoAssociation : ErrorOfErrno(execErrno);
  // The opener tells at once when nothing handles the target; one that is still running has
  // found its program, which may be the browser itself (xdg-open without a desktop runs it in
  // the foreground): it is left running and reaped when it ends.
  const auto deadline = std::chrono::steady_clock::now() + kVerdictTime;
  int status = 0;
  while (true) {
    const pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) break;
    if (ended < 0 && errno != EINTR) return kErrorNoAssociation;
    if (std::chrono::steady_clock::now() >= deadline) {
      std::thread([pid] {
        int ignored = 0;
        while (waitpid(pid, &ignored, 0) < 0 && errno == EINTR) {
        }
      }).detach();
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!WIFEXITED(status)) return kErrorNoAssociation;
  return ErrorOfOpenerExit(WEXITSTATUS(status));
}

long clShellExecute::StartKept(const std::vector<std::string>& argv,
                               const std::string& workingFolder) {
  Reap();
  int execErrno = 0;
  const pid_t pid = Spawn(argv, workingFolder, execErrno);
  if (pid < 0) {
    instanceResult_ = ErrorOfErrno(execErrno);
    processId_ = 0;
    return instanceResult_;
  }
  processId_ = pid;
  exitCode_ = kStillActive;
  instanceResult_ = 42;  // any value above 32 means started
  return -1;
}

void clShellExecute::Reap() {
  if (processId_ > 0 && exitCode_ == kStillActive) {
    int status = 0;
    if (waitpid(processId_, &status, WNOHANG) == processId_)
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
  }
}

bool clShellExecute::StillExecuting() {
  if (processId_ <= 0) return false;
  Reap();
  return exitCode_ == kStillActive;
}

long clShellExecute::Explore(QWidget*, const std::string& folder, int) { return Open(folder); }

long clShellExecute::LaunchDocument(QWidget*, const std::string& document,
                                    const std::string& startFolder, int) {
  return StartKept({opener_, document}, startFolder);
}

long clShellExecute::LaunchEmail(QWidget*, const std::string& address, int) {
  return Open("mailto:" + address);
}

long clShellExecute::LaunchFolder(QWidget*, const std::string& folder, int) { return Open(folder); }

long clShellExecute::LaunchProgram(const std::string& program, QWidget*,
                                   const std::string& parameters, const std::string& startFolder,
                                   int) {
  std::vector<std::string> argv{program};
  for (std::string& word : SplitParameters(parameters)) argv.push_back(std::move(word));
  return StartKept(argv, startFolder);
}

long clShellExecute::LaunchURL(const std::string& address, QWidget*, int) { return Open(address); }

long clShellExecute::PrintDocument(QWidget*, const std::string& document) {
  int execErrno = 0;
  const pid_t pid = Spawn({"lp", document}, {}, execErrno);
  if (pid < 0) return execErrno == ENOENT ? kErrorNoAssociation : ErrorOfErrno(execErrno);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? -1 : kErrorNoAssociation;
}

}  // namespace vn::config
