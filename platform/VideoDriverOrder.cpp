#include "platform/VideoDriverOrder.h"

#include <strings.h>

#include <chrono>
#include <cstdlib>
#include <string_view>

#include "platform/WaylandProbe.h"

namespace winsys {
namespace {

// A running compositor lists its globals in milliseconds; one that takes longer is stuck.
constexpr std::chrono::milliseconds kCompositorAnswerLimit{1000};

// SDL's own rule for a name in its list: the whole name, in any case.
bool IsWayland(std::string_view name) {
  return name.size() == 7 && strncasecmp(name.data(), "wayland", 7) == 0;
}

// The list without its Wayland entries (empty when nothing else is named); `hadWayland` says
// whether there were any.
std::string WithoutWayland(std::string_view drivers, bool& hadWayland) {
  std::string kept;
  hadWayland = false;
  while (!drivers.empty()) {
    const std::size_t comma = drivers.find(',');
    const std::string_view name = drivers.substr(0, comma);
    if (IsWayland(name)) {
      hadWayland = true;
    } else if (!name.empty()) {
      kept += (kept.empty() ? "" : ",") + std::string(name);
    }
    drivers = comma == std::string_view::npos ? std::string_view() : drivers.substr(comma + 1);
  }
  return kept;
}

}  // namespace

VideoDriverOrder ChooseVideoDrivers() {
  const char* named = std::getenv("SDL_VIDEODRIVER");
  // Wayland is reached through XDG_RUNTIME_DIR: without it SDL's try only prints an error.
  std::string drivers = named != nullptr && *named != '\0'          ? named
                        : std::getenv("XDG_RUNTIME_DIR") != nullptr ? "wayland,x11,kmsdrm"
                                                                    : "x11,kmsdrm";
  bool hadWayland = false;
  std::string others = WithoutWayland(drivers, hadWayland);
  if (!hadWayland) {
    return {drivers, ""};
  }
  switch (AskWaylandCompositor(kCompositorAnswerLimit)) {
    case WaylandCompositor::NoSeat:
      return {others, "the Wayland compositor offers no seat"};
    case WaylandCompositor::Silent:
      return {others, "the Wayland compositor does not answer"};
    case WaylandCompositor::None:
    case WaylandCompositor::Fit:
      break;
  }
  return {drivers, ""};
}

}  // namespace winsys
