// The program's own binary started where no display opens: one line on standard error, status
// 1, at once, and nothing left behind, so that the next start, on a display, runs. Run under
// xvfb-run, whose display the last start uses.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/DisplayCheck.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/SessionBus.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string ReadAll(const std::string& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(NoDisplay, OneLineAndStatusOneAtOnceAndTheNextStartRuns) {
  fixture::TempDir folder;
  int number = 900;
  while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) {
    ++number;
  }
  const std::string unusedDisplay = ":" + std::to_string(number);
  const struct {
    std::vector<std::string> environment;
    std::string reason;
  } starts[] = {
      {{}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
      {{"DISPLAY=" + unusedDisplay}, "DISPLAY=" + unusedDisplay + ": "},
      {{"XDG_RUNTIME_DIR=" + folder.path(), "WAYLAND_DISPLAY=no-compositor"},
       "WAYLAND_DISPLAY=no-compositor: "},
  };
  for (const auto& start : starts) {
    const std::string errors = folder.File("errors.txt");
    std::vector<std::string> argv = {
        "sh", "-c", "exec env -u DISPLAY -u WAYLAND_DISPLAY \"$@\" 2>\"$0\"", errors};
    argv.insert(argv.end(), start.environment.begin(), start.environment.end());
    argv.push_back(TUNEDECK_PROGRAM);
    const Clock::time_point started = Clock::now();
    fixture::ChildProcess program(argv);
    const std::optional<int> status = program.WaitFor(20s);
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    EXPECT_EQ(status, 1) << start.reason;
    EXPECT_LT(seconds, 2.0) << start.reason;
    const std::string said = ReadAll(errors);
    EXPECT_EQ(said.rfind("tunedeck: cannot open a display (" + start.reason, 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_EQ(said.back(), '\n');
    EXPECT_EQ(said[said.size() - 2], ')') << said;
  }

  // On the display: the program comes up (its media-player service appears), which it would
  // not if an instance of it seemed to run.
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run";
  fixture::SessionBus bus;
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus", 1);
  fixture::ChildProcess program({TUNEDECK_PROGRAM});
  fixture::PlayerClient player("tunedeck");
  bool present = false;
  for (int i = 0; i < 400 && !present && !program.Ended(); ++i) {
    present = player.Present();
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_TRUE(present) << "the start on the display did not come up";
}

// In a session that may be Wayland, Wayland is asked first; here only X11 answers.
TEST(NoDisplay, WaylandIsAskedFirstThenX11) {
  fixture::TempDir runtime;
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  ASSERT_EQ(winsys::OpenDisplayOrSayWhy(), "");
  EXPECT_STREQ(SDL_GetHint(SDL_HINT_VIDEODRIVER), "wayland,x11,kmsdrm");
  EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
}

}  // namespace
