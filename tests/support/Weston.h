// A Wayland compositor (Debian's weston) for one test, in a runtime folder of its own, stopped
// at the end. Failures to start throw std::runtime_error.
#pragma once

#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace fixture {

class Weston {
 public:
  enum class Backend {
    Headless,  // no output device and no seat
    X11,       // a 480x640 window on the X server of $DISPLAY, with its keyboard and pointer
  };

  // Starts it and waits until its socket takes connections.
  explicit Weston(Backend backend);

  // What a client needs in its environment to reach it: XDG_RUNTIME_DIR and WAYLAND_DISPLAY.
  std::vector<std::string> ClientEnvironment() const;

 private:
  TempDir runtime_;
  ChildProcess process_;
};

}  // namespace fixture
