#include "platform/BusThread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace busthread {

int OpenWake() {
  return eventfd(1, EFD_CLOEXEC | EFD_NONBLOCK);
}

void Ring(int wake) {
  const std::uint64_t one = 1;
  (void)!write(wake, &one, sizeof one);
}

void Drain(int wake) {
  std::uint64_t count;
  (void)!read(wake, &count, sizeof count);
}

void CloseWake(int wake) {
  close(wake);
}

}  // namespace busthread
