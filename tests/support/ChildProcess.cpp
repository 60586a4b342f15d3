#include "tests/support/ChildProcess.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

namespace fixture {
namespace {

// In the child, before anything else: end with the parent, which may already have gone.
void FollowParent(pid_t parent) {
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) {
    _exit(127);
  }
}

int ExitStatus(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const Options& options)
    : ownGroup_(options.ownGroup) {
  // Built before the fork: the child makes only async-signal-safe calls until exec.
  std::vector<char*> arguments;
  for (const std::string& argument : argv) {
    arguments.push_back(const_cast<char*>(argument.c_str()));
  }
  arguments.push_back(nullptr);
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) {
    throw std::runtime_error("fork failed");
  }
  if (pid_ == 0) {
    if (options.ownGroup) {
      setpgid(0, 0);
    }
    FollowParent(parent);
    if (options.standardOutput >= 0 && options.standardOutput != STDOUT_FILENO) {
      dup2(options.standardOutput, STDOUT_FILENO);
      close(options.standardOutput);
    }
    execvp(arguments[0], arguments.data());
    _exit(127);
  }
  if (options.ownGroup) {
    setpgid(pid_, pid_);  // set on both sides, so that a signal right away reaches the group
  }
}

ChildProcess::ChildProcess(const std::function<int()>& body) {
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) {
    throw std::runtime_error("fork failed");
  }
  if (pid_ == 0) {
    FollowParent(parent);
    _exit(body());
  }
}

ChildProcess::~ChildProcess() {
  Stop();
}

std::optional<int> ChildProcess::Ended() {
  int status = 0;
  if (!status_ && wait4(pid_, &status, WNOHANG, &usage_) == pid_) {
    status_ = ExitStatus(status);
  }
  return status_;
}

std::optional<int> ChildProcess::WaitFor(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!Ended() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status_;
}

double CpuSeconds(const rusage& usage) {
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double ChildProcess::CpuSeconds() const {
  return fixture::CpuSeconds(usage_);
}

void ChildProcess::Signal(int signal) {
  if (!status_) {
    kill(ownGroup_ ? -pid_ : pid_, signal);
  }
}

void ChildProcess::Stop() {
  if (!status_) {
    Signal(SIGTERM);
    int status = 0;
    if (wait4(pid_, &status, 0, &usage_) == pid_) {
      status_ = ExitStatus(status);
    }
  }
  if (ownGroup_) {
    kill(-pid_, SIGKILL);  // anything of the group that ignored the request
    ownGroup_ = false;
  }
}

}  // namespace fixture
