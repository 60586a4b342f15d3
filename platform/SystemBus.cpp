// The system-bus thread owns the connection and runs its event loop; the other threads only
// leave it a wish (hold the sleep lock or not) through its BusThread.
#include "platform/SystemBus.h"

#include <systemd/sd-event.h>

#include <cstdint>
#include <optional>

#include "platform/BusThread.h"
#include "platform/SystemBusParts.h"

namespace systembus {
namespace {

using SleepLockThread = BusThread<bool>;  // the wish: hold the sleep lock

SleepLockThread sleepLockThread;

// The thread's side of a wish: the lock taken or closed, or the loop ended.
struct Wishes {
  SleepLockThread::Inbox& inbox;
  sd_bus* bus;
  SleepInhibitor& inhibitor;
};

int OnWake(sd_event_source* source, int, std::uint32_t, void* userdata) {
  Wishes& w = *static_cast<Wishes*>(userdata);
  const std::optional<bool> hold = w.inbox.Take();
  if (!hold) {
    return sd_event_exit(sd_event_source_get_event(source), 0);
  }
  if (*hold && w.bus != nullptr) {
    w.inhibitor.Take(w.bus);
  } else if (!*hold) {
    w.inhibitor.Release();
  }
  return 0;
}

void Run(const std::string& who, const std::function<void(Network)>& onNetwork,
         SleepLockThread::Inbox& inbox) {
  sd_event* loop = nullptr;
  sd_bus* bus = nullptr;
  if (sd_event_new(&loop) < 0) {
    return;
  }
  SleepInhibitor inhibitor(who);
  NetworkWatch network(onNetwork);
  Wishes wishes{inbox, nullptr, inhibitor};
  // Without a system bus the wishes are still taken, so that Stop ends the loop.
  if (sd_bus_open_system(&bus) >= 0 && sd_bus_attach_event(bus, loop, 0) >= 0) {
    wishes.bus = bus;
    network.Begin(bus);
  }
  sd_event_source* wakeSource = nullptr;
  if (sd_event_add_io(loop, &wakeSource, inbox.Wake(), EPOLLIN, OnWake, &wishes) >= 0) {
    sd_event_loop(loop);
  }
  inhibitor.Release();
  sd_event_source_unref(wakeSource);
  if (bus != nullptr) {
    sd_bus_detach_event(bus);
  }
  sd_bus_flush_close_unref(bus);
  sd_event_unref(loop);
}

}  // namespace

void Start(const std::string& who, std::function<void(Network)> onNetwork) {
  sleepLockThread.Start([who, onNetwork = std::move(onNetwork)](SleepLockThread::Inbox& inbox) {
    Run(who, onNetwork, inbox);
  });
}

void HoldSleepLock(bool hold) {
  sleepLockThread.Publish(hold);
}

void Stop() {
  sleepLockThread.Stop();
}

}  // namespace systembus
