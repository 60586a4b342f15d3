// The program's binary on a Wayland compositor (weston): a native window with the application
// id of its desktop entry where the compositor has a seat; where SDL's Wayland video would crash
// (no seat) or hang (no answer), X11 or the one line that says why. Run under xvfb-run, whose
// X server holds the compositor's window and takes the fall-back.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/DisplayCheck.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/Weston.h"

namespace {

using namespace std::chrono_literals;

std::string ReadAll(const std::string& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The program without X11, on the Wayland display `environment` names, its standard error
// (where WAYLAND_DEBUG writes the protocol) in `errors`.
fixture::ChildProcess StartProgram(const std::vector<std::string>& environment,
                                   const std::string& errors) {
  std::vector<std::string> argv = {"sh",
                                   "-c",
                                   "exec env -u DISPLAY \"$@\" 2>\"$0\"",
                                   errors,
                                   "SDL_AUDIODRIVER=dummy",
                                   "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/session_bus",
                                   "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/system_bus"};
  argv.insert(argv.end(), environment.begin(), environment.end());
  argv.push_back(TUNEDECK_PROGRAM);
  return fixture::ChildProcess(argv);
}

// A socket that takes connections and never answers, as a compositor that hangs.
class SilentCompositor {
 public:
  explicit SilentCompositor(const fixture::TempDir& runtime) : runtime_(runtime.path()) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, runtime.File("silent").c_str(), sizeof address.sun_path - 1);
    if (bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd_, 4) != 0) {
      throw std::runtime_error("no socket for the silent compositor");
    }
  }
  ~SilentCompositor() { close(fd_); }
  SilentCompositor(const SilentCompositor&) = delete;
  SilentCompositor& operator=(const SilentCompositor&) = delete;

  std::vector<std::string> ClientEnvironment() const {
    return {"XDG_RUNTIME_DIR=" + runtime_, "WAYLAND_DISPLAY=silent"};
  }

 private:
  std::string runtime_;
  int fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
};

TEST(Wayland, NativeWindowWithTheDesktopEntrysApplicationIdWhereTheCompositorHasASeat) {
  fixture::Weston weston(fixture::Weston::Backend::X11);
  fixture::TempDir folder;
  const std::string errors = folder.File("errors.txt");
  std::vector<std::string> environment = weston.ClientEnvironment();
  environment.push_back("WAYLAND_DEBUG=client");
  fixture::ChildProcess program = StartProgram(environment, errors);

  // The window has its application id and shows the screen (a buffer attached to its surface).
  std::string protocol;
  const auto limit = std::chrono::steady_clock::now() + 60s;
  while ((protocol.find("set_app_id(\"tunedeck\")") == std::string::npos ||
          protocol.find("attach(wl_buffer@") == std::string::npos) &&
         !program.Ended() && std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(50ms);
    protocol = ReadAll(errors);
  }
  EXPECT_NE(protocol.find("xdg_toplevel@"), std::string::npos) << protocol;
  EXPECT_NE(protocol.find("set_app_id(\"tunedeck\")"), std::string::npos) << protocol;
  EXPECT_NE(protocol.find("attach(wl_buffer@"), std::string::npos) << protocol;
  EXPECT_EQ(program.Ended(), std::nullopt) << protocol;

  // The X server shows the compositor's output: the program's screen, for a person to look at,
  // once the program has drawn its status line ("Ready" at the foot of the 480x640 output at 96
  // pixels per inch), which comes after the lists.
  std::filesystem::create_directories(WAYLAND_SCREENSHOT_DIR);
  const std::string screenshot = WAYLAND_SCREENSHOT_DIR "/genre-list-on-weston.png";
  std::string brightest = "0";
  while (brightest == "0" && std::chrono::steady_clock::now() < limit) {
    fixture::ChildProcess shot({"sh", "-c",
                                "xwd -root | /usr/bin/convert xwd:- -write \"$0\" "
                                "-crop 480x20+0+620 -format '%[fx:maxima]' info: >\"$0.max\"",
                                screenshot});
    ASSERT_EQ(shot.WaitFor(30s), 0);
    brightest = ReadAll(screenshot + ".max");
  }
  std::filesystem::remove(screenshot + ".max");
  EXPECT_NE(brightest, "0") << "the compositor shows no status line";
}

TEST(Wayland, CompositorThatWouldCrashOrHangSdlIsLeftForX11OrSaidInOneLine) {
  fixture::Weston seatless(fixture::Weston::Backend::Headless);
  fixture::TempDir folder;
  const SilentCompositor silent(folder);
  const struct {
    std::vector<std::string> environment;
    std::string reason;
  } starts[] = {
      {seatless.ClientEnvironment(),
       "WAYLAND_DISPLAY=wayland-test: the Wayland compositor offers no seat"},
      {silent.ClientEnvironment(),
       "WAYLAND_DISPLAY=silent: the Wayland compositor does not answer"},
  };
  for (const auto& start : starts) {
    const std::string errors = folder.File("errors.txt");
    fixture::ChildProcess program = StartProgram(start.environment, errors);
    EXPECT_EQ(program.WaitFor(20s), 1) << start.reason;
    const std::string said = ReadAll(errors);
    EXPECT_EQ(said.rfind("tunedeck: cannot open a display (" + start.reason, 0), 0u) << said;
  }

  // With an X server beside the compositor without a seat, X11 takes the window.
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run";
  for (const std::string& variable : seatless.ClientEnvironment()) {
    const std::size_t equals = variable.find('=');
    setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
  }
  ASSERT_EQ(winsys::OpenDisplayOrSayWhy(), "");
  EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
}

}  // namespace
