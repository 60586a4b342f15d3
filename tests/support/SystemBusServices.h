// A private system bus for one test (dbus-daemon with a policy like the system bus's), and on
// it the two system services the program uses, played by this process: logind's Inhibit, which
// records each call and hands out one end of a pipe as the lock (so the test sees it closed),
// and NetworkManager's State, Connectivity and StateChanged, set by the test.
#pragma once

#include <systemd/sd-bus.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace fixture {

// Starts the bus and points DBUS_SYSTEM_BUS_ADDRESS at it; stops it at the end.
class SystemBus {
 public:
  SystemBus();
  ~SystemBus();
  SystemBus(const SystemBus&) = delete;
  SystemBus& operator=(const SystemBus&) = delete;

 private:
  TempDir folder_;
  std::unique_ptr<ChildProcess> daemon_;
};

// NMState and NMConnectivityState values as NetworkManager publishes them.
constexpr std::uint32_t NM_STATE_ASLEEP = 10;
constexpr std::uint32_t NM_STATE_DISCONNECTED = 20;
constexpr std::uint32_t NM_STATE_CONNECTED_SITE = 60;
constexpr std::uint32_t NM_STATE_CONNECTED_GLOBAL = 70;
constexpr std::uint32_t NM_CONNECTIVITY_NONE = 1;
constexpr std::uint32_t NM_CONNECTIVITY_FULL = 4;

struct InhibitCall {
  std::string what, who, why, mode;
};

// The services on the system bus, answered on a thread of their own. Throws when it cannot
// connect or take the names.
class SystemServices {
 public:
  struct Options {
    bool logind = true;
    bool networkManager = true;
  };
  explicit SystemServices(const Options& options);
  ~SystemServices();
  SystemServices(const SystemServices&) = delete;
  SystemServices& operator=(const SystemServices&) = delete;

  // Every Inhibit call so far.
  std::vector<InhibitCall> InhibitCalls();
  // How many of the locks handed out are still open (their holder has not closed them).
  int OpenLocks();
  // The most locks that were open at once, counted at each Inhibit call.
  int MostOpenAtOnce();

  // Sets NetworkManager's properties and signals StateChanged and PropertiesChanged.
  void SetNetwork(std::uint32_t state, std::uint32_t connectivity);

 private:
  static int OnInhibit(sd_bus_message* call, void* self, sd_bus_error* error);
  static int GetState(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                      void* self, sd_bus_error*);
  static int GetConnectivity(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                             void* self, sd_bus_error*);
  int CountOpen();  // with lock_ held
  void Serve();

  std::mutex lock_;  // guards everything below, the bus included
  sd_bus* bus_ = nullptr;
  std::vector<sd_bus_slot*> slots_;
  std::vector<InhibitCall> calls_;
  std::vector<int> lockEnds_;  // our ends of the pipes handed out
  int mostOpen_ = 0;
  std::uint32_t state_ = NM_STATE_CONNECTED_GLOBAL;
  std::uint32_t connectivity_ = NM_CONNECTIVITY_FULL;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace fixture
