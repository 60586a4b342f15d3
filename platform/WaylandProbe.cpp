#include "platform/WaylandProbe.h"

#include <poll.h>
#include <wayland-client.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace winsys {
namespace {

struct WaylandDisconnect {
  void operator()(wl_display* display) const noexcept { wl_display_disconnect(display); }
};
struct WaylandDestroy {
  void operator()(wl_registry* registry) const noexcept { wl_registry_destroy(registry); }
  void operator()(wl_callback* callback) const noexcept { wl_callback_destroy(callback); }
};

struct Answer {
  bool seat = false;
  bool done = false;
};

void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0) {
    static_cast<Answer*>(data)->seat = true;
  }
}

void OnGlobalRemoved(void*, wl_registry*, uint32_t) {}

void OnDone(void* data, wl_callback*, uint32_t) {
  static_cast<Answer*>(data)->done = true;
}

constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemoved};
constexpr wl_callback_listener kDoneListener{OnDone};

// Reads events until the answer is done, the connection fails or `deadline` passes. The round
// trip libwayland offers has no time limit, hence the reading by hand.
bool ReadUntilDone(wl_display* display, const Answer& answer,
                   std::chrono::steady_clock::time_point deadline) {
  while (!answer.done) {
    if (wl_display_prepare_read(display) != 0) {
      if (wl_display_dispatch_pending(display) < 0) {
        return false;
      }
      continue;
    }
    wl_display_flush(display);
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd readable{wl_display_get_fd(display), POLLIN, 0};
    if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
      wl_display_cancel_read(display);
      return false;
    }
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

WaylandCompositor AskWaylandCompositor(std::chrono::milliseconds limit) {
  if (std::getenv("WAYLAND_SOCKET") != nullptr) {
    return WaylandCompositor::Fit;
  }
  // A relative socket name needs the runtime folder; without it libwayland only complains.
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr && (name == nullptr || name[0] != '/')) {
    return WaylandCompositor::None;
  }
  const auto deadline = std::chrono::steady_clock::now() + limit;
  const std::unique_ptr<wl_display, WaylandDisconnect> display(wl_display_connect(nullptr));
  if (display == nullptr) {
    return WaylandCompositor::None;
  }
  Answer answer;
  const std::unique_ptr<wl_registry, WaylandDestroy> registry(
      wl_display_get_registry(display.get()));
  const std::unique_ptr<wl_callback, WaylandDestroy> done(wl_display_sync(display.get()));
  if (registry == nullptr || done == nullptr) {
    return WaylandCompositor::Silent;
  }
  wl_registry_add_listener(registry.get(), &kRegistryListener, &answer);
  wl_callback_add_listener(done.get(), &kDoneListener, &answer);
  // The compositor lists its globals before it answers the sync that follows the request.
  if (!ReadUntilDone(display.get(), answer, deadline)) {
    return WaylandCompositor::Silent;
  }
  return answer.seat ? WaylandCompositor::Fit : WaylandCompositor::NoSeat;
}

}  // namespace winsys
