// The video drivers SDL tries, in order, for the display the session gives. Not for code
// outside platform/.
#pragma once

#include <string>

namespace winsys {

struct VideoDriverOrder {
  std::string drivers;         // SDL's list ("wayland,x11,kmsdrm"); empty when none is left to try
  std::string waylandLeftOut;  // why Wayland was taken off the list, in a few words; or empty
};

// What the environment names (SDL_VIDEODRIVER), otherwise Wayland where the session may have
// it, then X11, then the console; Wayland taken off when its compositor cannot carry SDL's
// Wayland video (see WaylandProbe.h). Asks the compositor, so at most a second.
VideoDriverOrder ChooseVideoDrivers();

}  // namespace winsys
