#include "tests/support/Weston.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace fixture {
namespace {

constexpr const char* kSocket = "wayland-test";

std::vector<std::string> Command(Weston::Backend backend, const TempDir& runtime) {
  const bool x11 = backend == Weston::Backend::X11;
  // The kiosk shell starts no helper clients, and pixman needs no GL.
  return {"env",
          "XDG_RUNTIME_DIR=" + runtime.path(),
          "weston",
          x11 ? "--backend=x11-backend.so" : "--backend=headless-backend.so",
          "--shell=kiosk-shell.so",
          "--use-pixman",
          "--no-config",
          "--idle-time=0",
          "--width=480",
          "--height=640",
          std::string("--socket=") + kSocket,
          "--log=" + runtime.File("weston.log")};
}

bool TakesConnections(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  const bool connected =
      connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

}  // namespace

Weston::Weston(Backend backend)
    : process_(Command(backend, runtime_), ChildProcess::Options{.ownGroup = true}) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!TakesConnections(runtime_.File(kSocket))) {
    if (process_.Ended() || std::chrono::steady_clock::now() > limit) {
      std::ifstream log(runtime_.File("weston.log"));
      throw std::runtime_error("weston did not start:\n" +
                               std::string(std::istreambuf_iterator<char>(log), {}));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::vector<std::string> Weston::ClientEnvironment() const {
  return {"XDG_RUNTIME_DIR=" + runtime_.path(), std::string("WAYLAND_DISPLAY=") + kSocket};
}

}  // namespace fixture
