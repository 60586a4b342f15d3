// A second process finds the running instance's main window by class and title and brings it
// forward; a window of another title is not found.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <string>

#include "tests/platform/WindowTestSupport.h"
#include "tests/support/ChildProcess.h"

class SingleInstanceTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    channel = "tunedeck-test-" + std::to_string(getpid());
    headless::SetInstanceChannel(channel);
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Procedure;
      wc.lpszClassName = L"ClassName";
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    running = CreateWindowExW(0, L"ClassName", L"App Title", WS_VISIBLE, 0, 0, kWidth, kHeight,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(running, nullptr);
    SetForegroundWindow(main);
    headless::RunUntilIdle();
    received.clear();
  }

  void TearDown() override {
    DestroyWindow(running);
    WindowTest::TearDown();
  }

  // Starts the probe and runs this loop (which answers it) until the probe ends.
  int SecondStart(const std::string& title) {
    fixture::ChildProcess probe({SINGLE_INSTANCE_PROBE, channel, title});
    headless::RunUntil([&] { return probe.Ended().has_value(); }, std::chrono::seconds(30));
    return probe.Ended().value_or(-1);
  }

  std::string channel;
  HWND running = nullptr;
};

TEST_F(SingleInstanceTest, ASecondStartFindsTheRunningWindowAndBringsItForward) {
  EXPECT_EQ(SecondStart("App Title"), 0);
  const auto activations = Got(WM_ACTIVATE, running);
  ASSERT_FALSE(activations.empty());
  EXPECT_EQ(LOWORD(activations.back().wParam), WA_ACTIVE);
}

TEST_F(SingleInstanceTest, AWindowOfAnotherTitleIsNotFound) {
  EXPECT_EQ(SecondStart("Another Title"), 1);
  EXPECT_TRUE(Got(WM_ACTIVATE, running).empty());
}

TEST_F(SingleInstanceTest, InTheSameProcessTheWindowIsFoundDirectly) {
  EXPECT_EQ(FindWindowW(L"ClassName", L"App Title"), running);
  EXPECT_EQ(FindWindowW(L"ClassName", L"Nothing"), nullptr);
}

TEST_F(SingleInstanceTest, AGarbledRequestIsAnsweredNoAndTheChannelStillWorks) {
  std::string reply;
  std::thread stranger([&] {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    channel.copy(address.sun_path + 1, channel.size());
    const auto length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + channel.size());
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
      const std::string garbage(5000, 'x');
      (void)!write(fd, garbage.data(), garbage.size());
      char c;
      while (read(fd, &c, 1) == 1) {
        reply.push_back(c);
      }
    }
    close(fd);
  });
  stranger.join();
  EXPECT_EQ(reply, "0\n");
  EXPECT_EQ(SecondStart("App Title"), 0);
}
