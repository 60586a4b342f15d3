// logind's Inhibit: the lock is the file descriptor it hands back, held until it is closed.
#include <fcntl.h>
#include <unistd.h>

#include "platform/SystemBusParts.h"

namespace systembus {
namespace {

constexpr std::uint64_t kCallTimeoutUs = 5'000'000;

}  // namespace

void SleepInhibitor::Take(sd_bus* bus) {
  if (lock_ >= 0) {
    return;
  }
  sd_bus_message* call = nullptr;
  sd_bus_message* reply = nullptr;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  int fd = -1;
  // Only sleep: the screen may still blank while the radio plays.
  if (sd_bus_message_new_method_call(bus, &call, "org.freedesktop.login1",
                                     "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                     "Inhibit") >= 0 &&
      sd_bus_message_append(call, "ssss", "sleep", who_.c_str(), "Playing a radio station",
                            "block") >= 0 &&
      sd_bus_call(bus, call, kCallTimeoutUs, &error, &reply) >= 0 &&
      sd_bus_message_read(reply, "h", &fd) >= 0) {
    // The reply owns its descriptor: the lock is a copy of ours.
    lock_ = fcntl(fd, F_DUPFD_CLOEXEC, 3);
  }
  sd_bus_error_free(&error);
  sd_bus_message_unref(reply);
  sd_bus_message_unref(call);
}

void SleepInhibitor::Release() noexcept {
  if (lock_ >= 0) {
    close(lock_);
    lock_ = -1;
  }
}

}  // namespace systembus
