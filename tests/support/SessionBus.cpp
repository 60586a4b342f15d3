#include "tests/support/SessionBus.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace fixture {
namespace {

constexpr char kPath[] = "/org/mpris/MediaPlayer2";

// Reads an a{sv} of Metadata at the message's position.
Metadata ReadMetadataDict(sd_bus_message* m) {
  Metadata metadata;
  if (sd_bus_message_enter_container(m, 'a', "{sv}") < 0) {
    return metadata;
  }
  while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
    const char* key = nullptr;
    char type = 0;
    const char* contents = nullptr;
    sd_bus_message_read(m, "s", &key);
    sd_bus_message_peek_type(m, &type, &contents);
    const std::string signature = contents != nullptr ? contents : "";
    sd_bus_message_enter_container(m, 'v', contents);
    std::string value;
    if (signature == "s" || signature == "o") {
      const char* text = nullptr;
      sd_bus_message_read_basic(m, signature[0], &text);
      value = text != nullptr ? text : "";
    } else if (signature == "as") {
      char** texts = nullptr;
      sd_bus_message_read_strv(m, &texts);
      for (char** t = texts; t != nullptr && *t != nullptr; ++t) {
        value += (value.empty() ? "" : ", ") + std::string(*t);
        free(*t);
      }
      free(texts);
    } else {
      sd_bus_message_skip(m, contents);
    }
    sd_bus_message_exit_container(m);
    sd_bus_message_exit_container(m);
    metadata[key] = value;
  }
  sd_bus_message_exit_container(m);
  return metadata;
}

int OnPropertiesChanged(sd_bus_message* m, void* userdata, sd_bus_error*) {
  auto& changes = *static_cast<std::vector<PlayerChange>*>(userdata);
  const char* interface = nullptr;
  if (sd_bus_message_read(m, "s", &interface) < 0 ||
      std::string(interface) != "org.mpris.MediaPlayer2.Player") {
    return 0;
  }
  PlayerChange change;
  sd_bus_message_enter_container(m, 'a', "{sv}");
  while (sd_bus_message_enter_container(m, 'e', "sv") > 0) {
    const char* key = nullptr;
    sd_bus_message_read(m, "s", &key);
    const std::string property = key;
    if (property == "PlaybackStatus") {
      const char* status = nullptr;
      sd_bus_message_read(m, "v", "s", &status);
      change.playbackStatus = status;
    } else if (property == "Metadata") {
      sd_bus_message_enter_container(m, 'v', "a{sv}");
      change.metadata = ReadMetadataDict(m);
      sd_bus_message_exit_container(m);
    } else {
      sd_bus_message_skip(m, "v");
    }
    sd_bus_message_exit_container(m);
  }
  changes.push_back(change);
  return 0;
}

}  // namespace

SessionBus::SessionBus() {
  const std::string socket = folder_.File("bus");
  address_ = "unix:path=" + socket;
  daemon_ = std::make_unique<ChildProcess>(std::vector<std::string>{
      "dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + address_});
  struct stat info;
  for (int i = 0; i < 200 && stat(socket.c_str(), &info) != 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  if (stat(socket.c_str(), &info) != 0) {
    throw std::runtime_error("dbus-daemon did not start");
  }
  setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
}

SessionBus::~SessionBus() {
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

PlayerClient::PlayerClient(const std::string& name) : name_("org.mpris.MediaPlayer2." + name) {
  if (sd_bus_open_user(&bus_) < 0) {
    throw std::runtime_error("cannot connect to the session bus");
  }
  sd_bus_match_signal(bus_, &match_, nullptr, kPath, "org.freedesktop.DBus.Properties",
                      "PropertiesChanged", OnPropertiesChanged, &changes_);
}

PlayerClient::~PlayerClient() {
  sd_bus_slot_unref(match_);
  sd_bus_flush_close_unref(bus_);
}

std::string PlayerClient::Interface(const std::string& interface) const {
  return interface.empty() ? "org.mpris.MediaPlayer2" : "org.mpris.MediaPlayer2." + interface;
}

bool PlayerClient::Present() {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  const int r = sd_bus_call_method(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                   "org.freedesktop.DBus", "NameHasOwner", &error, &reply, "s",
                                   name_.c_str());
  int owned = 0;
  if (r >= 0) {
    sd_bus_message_read(reply, "b", &owned);
  }
  sd_bus_message_unref(reply);
  sd_bus_error_free(&error);
  return owned != 0;
}

std::string PlayerClient::String(const std::string& interface, const std::string& property) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  char* text = nullptr;
  const int r = sd_bus_get_property_string(bus_, name_.c_str(), kPath, Interface(interface).c_str(),
                                           property.c_str(), &error, &text);
  sd_bus_error_free(&error);
  if (r < 0) {
    throw std::runtime_error("cannot read " + property);
  }
  std::string value = text;
  free(text);
  return value;
}

bool PlayerClient::Bool(const std::string& interface, const std::string& property) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  int value = 0;
  const int r =
      sd_bus_get_property_trivial(bus_, name_.c_str(), kPath, Interface(interface).c_str(),
                                  property.c_str(), &error, 'b', &value);
  sd_bus_error_free(&error);
  if (r < 0) {
    throw std::runtime_error("cannot read " + property);
  }
  return value != 0;
}

Metadata PlayerClient::ReadMetadata() {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  const int r = sd_bus_get_property(bus_, name_.c_str(), kPath, Interface("Player").c_str(),
                                    "Metadata", &error, &reply, "a{sv}");
  sd_bus_error_free(&error);
  if (r < 0) {
    throw std::runtime_error("cannot read Metadata");
  }
  Metadata metadata = ReadMetadataDict(reply);
  sd_bus_message_unref(reply);
  return metadata;
}

bool PlayerClient::Call(const std::string& interface, const std::string& method) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const int r = sd_bus_call_method(bus_, name_.c_str(), kPath, Interface(interface).c_str(),
                                   method.c_str(), &error, nullptr, "");
  sd_bus_error_free(&error);
  return r >= 0;
}

void PlayerClient::Process() {
  while (sd_bus_process(bus_, nullptr) > 0) {
  }
}

}  // namespace fixture
