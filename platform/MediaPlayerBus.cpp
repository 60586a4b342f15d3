// MPRIS 2 over sd-bus. One thread owns the connection: it answers property reads and method
// calls, and signals PropertiesChanged when Publish hands it a new state through its
// BusThread. Methods only post a request to the window; they never wait for it.
#include "platform/MediaPlayerBus.h"

#include <poll.h>
#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/BusThread.h"
#include "platform/Win32.h"

namespace mpris {
namespace {

constexpr char kPath[] = "/org/mpris/MediaPlayer2";
constexpr char kRootInterface[] = "org.mpris.MediaPlayer2";
constexpr char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
constexpr char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

using ServiceThread = BusThread<NowPlaying>;

ServiceThread serviceThread;

// The bus thread's own view, read by the method handlers and the property getters.
struct Service {
  std::string name;
  HWND window = nullptr;
  UINT message = 0;
  NowPlaying shown;
  std::uint64_t track = 0;  // grows with each new title, for mpris:trackid
};

Service& Of(void* userdata) {
  return *static_cast<Service*>(userdata);
}

int Reply(sd_bus_message* call, Service& s, Request request) {
  PostMessageW(s.window, s.message, static_cast<WPARAM>(request), 0);
  return sd_bus_reply_method_return(call, "");
}

// Each request method of the interface: posted to the window, answered at once.
template <Request request>
int OnRequest(sd_bus_message* call, void* userdata, sd_bus_error*) {
  return Reply(call, Of(userdata), request);
}
// Next, Previous, Seek, SetPosition, OpenUri: a live stream has none of them (the Can*
// properties say so); the calls are accepted and change nothing.
int OnNothing(sd_bus_message* call, void*, sd_bus_error*) {
  return sd_bus_reply_method_return(call, "");
}

int GetTrue(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
            sd_bus_error*) {
  return sd_bus_message_append(reply, "b", 1);
}
int GetFalse(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
             sd_bus_error*) {
  return sd_bus_message_append(reply, "b", 0);
}
int GetOne(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
           sd_bus_error*) {
  return sd_bus_message_append(reply, "d", 1.0);
}
int GetZeroPosition(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                    sd_bus_error*) {
  return sd_bus_message_append(reply, "x", std::int64_t{0});
}
int GetName(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata,
            sd_bus_error*) {
  return sd_bus_message_append(reply, "s", Of(userdata).name.c_str());
}
int GetNoStrings(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                 sd_bus_error*) {
  return sd_bus_message_append(reply, "as", 0);
}
int GetStatus(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata,
              sd_bus_error*) {
  return sd_bus_message_append(reply, "s", Of(userdata).shown.playing ? "Playing" : "Stopped");
}

int AppendText(sd_bus_message* reply, const char* key, const std::string& value) {
  return value.empty() ? 0 : sd_bus_message_append(reply, "{sv}", key, "s", value.c_str());
}

int GetMetadata(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                void* userdata, sd_bus_error*) {
  const Service& s = Of(userdata);
  const NowPlaying& now = s.shown;
  const bool hasTrack = !now.title.empty() || !now.artist.empty();
  const std::string track =
      hasTrack ? std::string(kPath) + "/tunedeck/track/" + std::to_string(s.track) : kNoTrack;
  int r = sd_bus_message_open_container(reply, 'a', "{sv}");
  if (r >= 0) {
    r = sd_bus_message_append(reply, "{sv}", "mpris:trackid", "o", track.c_str());
  }
  if (r >= 0) {
    r = AppendText(reply, "xesam:title", now.title);
  }
  if (r >= 0 && !now.artist.empty()) {
    r = sd_bus_message_append(reply, "{sv}", "xesam:artist", "as", 1, now.artist.c_str());
  }
  if (r >= 0) {
    r = AppendText(reply, "xesam:album", now.album);
  }
  if (r >= 0) {
    r = AppendText(reply, "mpris:artUrl", now.artUrl);
  }
  return r < 0 ? r : sd_bus_message_close_container(reply);
}

const sd_bus_vtable rootTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Raise", "", "", OnRequest<Request::Raise>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Quit", "", "", OnRequest<Request::Quit>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("CanQuit", "b", GetTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanRaise", "b", GetTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("HasTrackList", "b", GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Identity", "s", GetName, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("DesktopEntry", "s", GetName, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("SupportedUriSchemes", "as", GetNoStrings, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("SupportedMimeTypes", "as", GetNoStrings, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END};

const sd_bus_vtable playerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Next", "", "", OnNothing, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Previous", "", "", OnNothing, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Pause", "", "", OnRequest<Request::Pause>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("PlayPause", "", "", OnRequest<Request::PlayPause>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Stop", "", "", OnRequest<Request::Stop>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Play", "", "", OnRequest<Request::Play>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Seek", "x", "", OnNothing, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SetPosition", "ox", "", OnNothing, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("OpenUri", "s", "", OnNothing, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("Seeked", "x", 0),
    SD_BUS_PROPERTY("PlaybackStatus", "s", GetStatus, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("Metadata", "a{sv}", GetMetadata, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("Rate", "d", GetOne, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("MinimumRate", "d", GetOne, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("MaximumRate", "d", GetOne, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Volume", "d", GetOne, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Position", "x", GetZeroPosition, 0, 0),
    SD_BUS_PROPERTY("CanGoNext", "b", GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanGoPrevious", "b", GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanPlay", "b", GetTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanPause", "b", GetTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanSeek", "b", GetFalse, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("CanControl", "b", GetTrue, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END};

// Takes the newest published state and signals what changed. False once Stop was asked.
bool TakePublished(sd_bus* bus, Service& s, ServiceThread::Inbox& inbox) {
  const std::optional<NowPlaying> published = inbox.Take();
  if (!published) {
    return false;
  }
  const NowPlaying& next = *published;
  if (next == s.shown) {
    return true;
  }
  std::vector<const char*> changed;
  if (next.playing != s.shown.playing) {
    changed.push_back("PlaybackStatus");
  }
  if (next.title != s.shown.title || next.artist != s.shown.artist || next.album != s.shown.album ||
      next.artUrl != s.shown.artUrl) {
    if (next.title != s.shown.title || next.artist != s.shown.artist) {
      ++s.track;
    }
    changed.push_back("Metadata");
  }
  changed.push_back(nullptr);
  s.shown = next;
  sd_bus_emit_properties_changed_strv(bus, kPath, kPlayerInterface,
                                      const_cast<char**>(changed.data()));
  return true;
}

void Serve(sd_bus* bus, Service& s, ServiceThread::Inbox& inbox) {
  for (;;) {
    int r;
    while ((r = sd_bus_process(bus, nullptr)) > 0) {
    }
    if (r < 0 || !TakePublished(bus, s, inbox)) {
      return;
    }
    sd_bus_flush(bus);
    std::uint64_t timeoutUs = 0;
    sd_bus_get_timeout(bus, &timeoutUs);
    pollfd fds[2] = {{sd_bus_get_fd(bus), static_cast<short>(sd_bus_get_events(bus)), 0},
                     {inbox.Wake(), POLLIN, 0}};
    const int timeoutMs = timeoutUs == UINT64_MAX ? -1 : 100;  // a pending bus timeout: soon
    if (poll(fds, 2, timeoutMs) < 0 && errno != EINTR) {
      return;
    }
  }
}

void Run(Service s, ServiceThread::Inbox& inbox) {
  sd_bus* bus = nullptr;
  sd_bus_slot* slots[2] = {};
  const std::string busName = std::string(kRootInterface) + "." + s.name;
  if (sd_bus_open_user(&bus) >= 0 &&
      sd_bus_add_object_vtable(bus, &slots[0], kPath, kRootInterface, rootTable, &s) >= 0 &&
      sd_bus_add_object_vtable(bus, &slots[1], kPath, kPlayerInterface, playerTable, &s) >= 0 &&
      sd_bus_request_name(bus, busName.c_str(), 0) >= 0) {
    Serve(bus, s, inbox);
  }
  sd_bus_slot_unref(slots[0]);
  sd_bus_slot_unref(slots[1]);
  sd_bus_flush_close_unref(bus);
}

}  // namespace

void Start(const std::string& name, HWND window, UINT message) {
  const Service service{name, window, message, {}, 0};
  serviceThread.Start([service](ServiceThread::Inbox& inbox) { Run(service, inbox); });
}

void Publish(const NowPlaying& state) {
  serviceThread.Publish(state);
}

void Stop() {
  serviceThread.Stop();
}

}  // namespace mpris
