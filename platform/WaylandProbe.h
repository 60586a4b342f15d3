// What the session's Wayland compositor offers, asked over a connection of our own before SDL's
// Wayland video is started: SDL 2.26's Wayland start-up writes through the input seat it
// expects and crashes on a compositor that has none (a headless one), and it waits without end
// on a compositor that never answers. Not for code outside platform/.
#pragma once

#include <chrono>

namespace winsys {

enum class WaylandCompositor {
  None,    // nothing to connect to: no socket where WAYLAND_DISPLAY (or wayland-0) points
  Fit,     // it answered and offers a seat
  NoSeat,  // it answered and offers no seat
  Silent,  // it took the connection but gave no answer within the limit, or hung up
};

// Connects to the compositor the environment names, reads its globals and disconnects, waiting
// at most `limit` for its answer. A socket handed over in WAYLAND_SOCKET serves one connection
// only and is left for SDL: that counts as Fit. Any thread.
WaylandCompositor AskWaylandCompositor(std::chrono::milliseconds limit);

}  // namespace winsys
