// The two services the program uses on the system bus, run on the system-bus thread
// (SystemBus.cpp). Not for code outside platform/.
#pragma once

#include <systemd/sd-bus.h>

#include <functional>
#include <string>

#include "platform/SystemBus.h"

namespace systembus {

// logind's "sleep" inhibitor: a file descriptor that holds the lock while it is open.
class SleepInhibitor {
 public:
  explicit SleepInhibitor(std::string who) : who_(std::move(who)) {}
  ~SleepInhibitor() { Release(); }
  SleepInhibitor(const SleepInhibitor&) = delete;
  SleepInhibitor& operator=(const SleepInhibitor&) = delete;

  // Takes the lock unless it is held; without logind nothing is held.
  void Take(sd_bus* bus);
  void Release() noexcept;

 private:
  std::string who_;
  int lock_ = -1;
};

// NetworkManager's State and Connectivity, read again whenever it signals a change or comes
// and goes on the bus; `onChange` hears every new outcome.
class NetworkWatch {
 public:
  explicit NetworkWatch(std::function<void(Network)> onChange) : onChange_(std::move(onChange)) {}
  ~NetworkWatch();
  NetworkWatch(const NetworkWatch&) = delete;
  NetworkWatch& operator=(const NetworkWatch&) = delete;

  // Subscribes to the signals and reads the state once.
  void Begin(sd_bus* bus);

 private:
  static int OnSignal(sd_bus_message* message, void* self, sd_bus_error* error);
  void ReadAgain();

  std::function<void(Network)> onChange_;
  sd_bus* bus_ = nullptr;
  sd_bus_slot* slots_[3] = {};
  bool told_ = false;
  Network last_ = Network::Unknown;
};

}  // namespace systembus
