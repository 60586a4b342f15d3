#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/HeadlessScreen.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using fixture::ChildProcess;

TEST(SecondInstance, RaisesTheFirstAndExitsWithZero) {
  fixture::TempDir folder;
  const std::string channel = "tunedeck-e2e-instance-" + std::to_string(getpid());
  ChildProcess first({E2E_INSTANCE_PROGRAM, channel, folder.File("tunedeck")});

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

  ChildProcess second({E2E_INSTANCE_PROGRAM, channel, folder.File("tunedeck")});
  EXPECT_EQ(second.WaitFor(10s), 0);
  // The first one runs on.
  EXPECT_EQ(first.WaitFor(200ms), std::nullopt);
  EXPECT_NE(FindWindowW(className, title), nullptr);
  // The window cannot be closed from another process; the test ends the first one itself.
  first.Signal(SIGKILL);
  first.WaitFor(5s);
}

}  // namespace
