// Timing helpers the plain benchmark programs share: the median of several runs (alternating
// between peers where they are compared), a shell command as the peer, and the peak memory of
// work done in a child process.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace vn::bench {

// The whole number given as `--name N` on the command line, at least `least`; `fallback` when
// it is not given.
inline int IntOption(int argc, char** argv, const std::string& name, int fallback, int least) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (name == argv[i]) return std::max(least, std::atoi(argv[i + 1]));
  }
  return fallback;
}

// Median wall time of `runs` calls of `f`, in seconds.
inline double MedianSeconds(int runs, const std::function<void()>& f) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    f();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Wall time, and processor time (user and system) of the child processes it ran and waited for,
// of one call.
struct Times {
  double wall = 0;
  double processor = 0;
};

// The median times of each of `calls` over `runs` rounds, every round calling each once in
// turn: load that comes and goes on a shared machine then meets all of them alike.
inline std::vector<Times> MedianTimesAlternating(int runs,
                                                 const std::vector<std::function<void()>>& calls) {
  using Clock = std::chrono::steady_clock;
  auto seconds = [](const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  };
  std::vector<std::vector<double>> wall(calls.size()), processor(calls.size());
  for (int i = 0; i < runs; ++i) {
    for (size_t k = 0; k < calls.size(); ++k) {
      rusage before{};
      rusage after{};
      getrusage(RUSAGE_CHILDREN, &before);
      const auto start = Clock::now();
      calls[k]();
      wall[k].push_back(std::chrono::duration<double>(Clock::now() - start).count());
      getrusage(RUSAGE_CHILDREN, &after);
      processor[k].push_back(seconds(after) - seconds(before));
    }
  }
  auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
  };
  std::vector<Times> medians(calls.size());
  for (size_t k = 0; k < calls.size(); ++k) {
    medians[k] = {median(wall[k]), median(processor[k])};
  }
  return medians;
}

// Runs `command` through the shell; a failing peer ends the benchmark.
inline void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::cerr << "benchmark: failed: " << command << '\n';
    std::exit(1);
  }
}

// Runs `f` in a child process and returns that process's peak resident memory in kB.
inline long PeakOfChild(const std::function<void()>& f) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  std::fflush(stdout);  // the child must not write the parent's buffered lines again
  pid_t pid = fork();
  if (pid == 0) {
    close(pipeFds[0]);
    f();
    std::fflush(stdout);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    long peak = usage.ru_maxrss;
    if (write(pipeFds[1], &peak, sizeof peak) != static_cast<ssize_t>(sizeof peak)) _exit(1);
    _exit(0);
  }
  close(pipeFds[1]);
  long peak = -1;
  if (read(pipeFds[0], &peak, sizeof peak) != static_cast<ssize_t>(sizeof peak)) peak = -1;
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return peak;
}

}  // namespace vn::bench
