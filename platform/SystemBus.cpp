// One thread owns the system-bus connection and runs its event loop; the other threads only
// leave it a wish (hold the sleep lock or not, stop) and ring its eventfd.
#include "platform/SystemBus.h"

#include <sys/eventfd.h>
#include <systemd/sd-event.h>
#include <unistd.h>

#include <cstdint>
#include <thread>

#include "platform/Mutex.h"
#include "platform/SystemBusParts.h"

namespace systembus {
namespace {

struct Link {
  std::string who;
  std::function<void(Network)> onNetwork;
  int wake = -1;
  std::thread thread;

  Mutex lock;
  bool holdWanted GUARDED_BY(lock) = false;
  bool stopping GUARDED_BY(lock) = false;
};

Mutex linkLock;
Link* running GUARDED_BY(linkLock) = nullptr;      // the one link, while it runs
bool lastHoldWanted GUARDED_BY(linkLock) = false;  // kept for a link that starts later

// The thread's side of a wish: the lock taken or closed, or the loop ended.
struct Wishes {
  Link& link;
  sd_bus* bus;
  SleepInhibitor& inhibitor;
};

int OnWake(sd_event_source* source, int fd, std::uint32_t, void* userdata) {
  std::uint64_t count;
  (void)!read(fd, &count, sizeof count);
  Wishes& w = *static_cast<Wishes*>(userdata);
  bool hold = false;
  {
    MutexLock guard(w.link.lock);
    if (w.link.stopping) {
      return sd_event_exit(sd_event_source_get_event(source), 0);
    }
    hold = w.link.holdWanted;
  }
  if (hold && w.bus != nullptr) {
    w.inhibitor.Take(w.bus);
  } else if (!hold) {
    w.inhibitor.Release();
  }
  return 0;
}

void Run(Link& link) {
  sd_event* loop = nullptr;
  sd_bus* bus = nullptr;
  if (sd_event_new(&loop) < 0) {
    return;
  }
  SleepInhibitor inhibitor(link.who);
  NetworkWatch network(link.onNetwork);
  Wishes wishes{link, nullptr, inhibitor};
  // Without a system bus the wishes are still taken, so that Stop ends the loop.
  if (sd_bus_open_system(&bus) >= 0 && sd_bus_attach_event(bus, loop, 0) >= 0) {
    wishes.bus = bus;
    network.Begin(bus);
  }
  sd_event_source* wakeSource = nullptr;
  if (sd_event_add_io(loop, &wakeSource, link.wake, EPOLLIN, OnWake, &wishes) >= 0) {
    const std::uint64_t one = 1;
    (void)!write(link.wake, &one, sizeof one);  // the wish made before the thread ran
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

void Wake(const Link& link) {
  const std::uint64_t one = 1;
  (void)!write(link.wake, &one, sizeof one);
}

}  // namespace

void Start(const std::string& who, std::function<void(Network)> onNetwork) {
  MutexLock hold(linkLock);
  if (running != nullptr) {
    return;
  }
  const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake < 0) {
    return;
  }
  running = new Link;
  running->who = who;
  running->onNetwork = std::move(onNetwork);
  running->wake = wake;
  {
    MutexLock wish(running->lock);
    running->holdWanted = lastHoldWanted;
  }
  running->thread = std::thread(Run, std::ref(*running));
}

void HoldSleepLock(bool hold) {
  MutexLock guard(linkLock);
  lastHoldWanted = hold;
  if (running != nullptr) {
    {
      MutexLock wish(running->lock);
      running->holdWanted = hold;
    }
    Wake(*running);
  }
}

void Stop() {
  Link* stopping = nullptr;
  {
    MutexLock hold(linkLock);
    std::swap(stopping, running);
  }
  if (stopping == nullptr) {
    return;
  }
  {
    MutexLock hold(stopping->lock);
    stopping->stopping = true;
  }
  Wake(*stopping);
  stopping->thread.join();
  close(stopping->wake);
  delete stopping;
}

}  // namespace systembus
