#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/HeadlessScreen.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

pid_t StartProgram(const std::string& channel, const std::string& modulePath) {
  std::vector<std::string> arguments = {E2E_INSTANCE_PROGRAM, channel, modulePath};
  std::vector<char*> argv;
  for (auto& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  return pid;
}

// The process's exit status once it has ended within `limit`, or -1.
int WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(20ms);
  }
  return -1;
}

TEST(SecondInstance, RaisesTheFirstAndExitsWithZero) {
  fixture::TempDir folder;
  const std::string channel = "tunedeck-e2e-instance-" + std::to_string(getpid());
  const pid_t first = StartProgram(channel, folder.File("tunedeck"));

  // This process looks for the first program's window as the second one will.
  headless::SetInstanceChannel(channel);
  WCHAR title[100];
  WCHAR className[100];
  LoadStringW(nullptr, 103, title, 100);
  LoadStringW(nullptr, 104, className, 100);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (FindWindowW(className, title) == nullptr && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_NE(FindWindowW(className, title), nullptr);

  const pid_t second = StartProgram(channel, folder.File("tunedeck"));
  EXPECT_EQ(WaitForExit(second, 10s), 0);
  // The first one runs on.
  EXPECT_EQ(WaitForExit(first, 200ms), -1);
  EXPECT_NE(FindWindowW(className, title), nullptr);
  // The window cannot be closed from another process; the test ends the first one itself.
  kill(first, SIGKILL);
  WaitForExit(first, 5s);
}

}  // namespace
