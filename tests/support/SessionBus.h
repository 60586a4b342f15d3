// A private session bus for one test (dbus-daemon on a unix socket in a temp folder), and a
// client of the media-player service on it: property reads, method calls and the
// PropertiesChanged signals it sent.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

struct sd_bus;
struct sd_bus_slot;

namespace fixture {

// Starts the bus and points DBUS_SESSION_BUS_ADDRESS at it; stops it at the end.
class SessionBus {
 public:
  SessionBus();
  ~SessionBus();
  SessionBus(const SessionBus&) = delete;
  SessionBus& operator=(const SessionBus&) = delete;

  const std::string& address() const { return address_; }

 private:
  TempDir folder_;
  std::string address_;
  std::unique_ptr<ChildProcess> daemon_;
};

// Metadata as texts: strings and object paths as they are, string arrays joined by ", ".
using Metadata = std::map<std::string, std::string>;

struct PlayerChange {
  std::optional<std::string> playbackStatus;
  std::optional<Metadata> metadata;
};

// A client of org.mpris.MediaPlayer2.<name> on the session bus. Throws when it cannot connect.
class PlayerClient {
 public:
  explicit PlayerClient(const std::string& name);
  ~PlayerClient();
  PlayerClient(const PlayerClient&) = delete;
  PlayerClient& operator=(const PlayerClient&) = delete;

  // True once the service owns its name.
  bool Present();
  // `interface` is "" for org.mpris.MediaPlayer2, or "Player". Throw when the read fails.
  std::string String(const std::string& interface, const std::string& property);
  bool Bool(const std::string& interface, const std::string& property);
  Metadata ReadMetadata();
  // Calls a method without arguments; false when the call failed.
  bool Call(const std::string& interface, const std::string& method);
  // Takes the signals that have arrived; never waits.
  void Process();
  const std::vector<PlayerChange>& changes() const { return changes_; }

 private:
  std::string Interface(const std::string& interface) const;

  std::string name_;
  sd_bus* bus_ = nullptr;
  sd_bus_slot* match_ = nullptr;
  std::vector<PlayerChange> changes_;
};

}  // namespace fixture
