// The program as a media player on the session bus (MPRIS 2): the desktop's and the phone
// shell's player controls read what it plays and send it their requests. The bus connection
// lives on a thread of its own; nothing of it runs on the caller's thread.
#pragma once

#include <string>

#include "platform/Win32Types.h"

namespace mpris {

// What the player reports. Texts are UTF-8; `artUrl` is a file:// address or empty.
struct NowPlaying {
  bool playing = false;
  std::string title;
  std::string artist;
  std::string album;
  std::string artUrl;

  bool operator==(const NowPlaying&) const = default;
};

// What a controller asked for; arrives as the wParam of the service's message.
enum class Request : WPARAM { Raise = 1, Quit, Play, Pause, PlayPause, Stop };

// Starts the service for the program `name` (bus name org.mpris.MediaPlayer2.<name>, desktop
// entry <name>): each request is posted to `window` as `message`. Returns at once; without a
// session bus, or with the name taken, the service ends quietly and nothing else changes.
// At most one service runs; a second Start is ignored.
void Start(const std::string& name, HWND window, UINT message);
// What plays now; the service signals PropertiesChanged for every property that changed.
// Any thread; also before or without a running service.
void Publish(const NowPlaying& state);
// Ends the service and waits for its thread. Any thread but the service's.
void Stop();

}  // namespace mpris
