// Whether the program can be seen at all: the real display, opened before anything else.
#pragma once

#include <string>

namespace winsys {

// Opens the display the session gives (Wayland first, then X11). Empty when it opened;
// otherwise why not, in a few words for a person at a terminal.
std::string OpenDisplayOrSayWhy();

}  // namespace winsys
