// A program (or a forked copy of this one) run as a child process of the test, waited for with a
// time-out and stopped at the end. Failures to start throw std::runtime_error.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fixture {

// Processor time (user and system) in `usage`.
double CpuSeconds(const rusage& usage);

class ChildProcess {
 public:
  struct Options {
    bool ownGroup = false;    // a process group of its own, signalled and stopped as a whole
    int standardOutput = -1;  // where the child's standard output goes; -1: where the test's goes
  };

  // Runs `argv` (argv[0] looked up in PATH). The child gets SIGTERM when the thread that started
  // it ends, so nothing outlives a test program that crashed; a program that cannot be run ends
  // at once with status 127.
  explicit ChildProcess(const std::vector<std::string>& argv) : ChildProcess(argv, Options{}) {}
  ChildProcess(const std::vector<std::string>& argv, const Options& options);
  // Runs `body` in a forked copy of this process, which exits with what it returns.
  explicit ChildProcess(const std::function<int()>& body);
  // Stop().
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }

  // The exit status once the child has ended (128 + the signal's number when a signal ended it),
  // nothing while it runs. Does not wait.
  std::optional<int> Ended();
  // The same, waiting up to `limit` for the end.
  std::optional<int> WaitFor(std::chrono::milliseconds limit);
  // Sends `signal` to the child (to its whole group with ownGroup).
  void Signal(int signal);
  // Processor time (user and system) the child used; 0 until it has ended.
  double CpuSeconds() const;
  // SIGTERM and a wait for the end (none when it has ended), then SIGKILL for anything of its
  // group that is left.
  void Stop();

 private:
  pid_t pid_ = -1;
  bool ownGroup_ = false;
  std::optional<int> status_;
  rusage usage_{};
};

}  // namespace fixture
