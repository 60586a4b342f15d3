#include "playback/WorkerStart.h"

#include <cstdint>

namespace {

// Held by the mark between taking it and CreateThread's return.
HANDLE const startingMark = reinterpret_cast<HANDLE>(std::uintptr_t{1});

}  // namespace

bool StartWorker(std::atomic<HANDLE>& busyMark, LPTHREAD_START_ROUTINE worker, LPVOID argument) {
  HANDLE expected = nullptr;
  if (!busyMark.compare_exchange_strong(expected, startingMark)) {
    return false;
  }
  HANDLE thread = CreateThread(nullptr, 0, worker, argument, 0, nullptr);
  if (thread == nullptr) {
    busyMark.store(nullptr);
    return false;
  }
  // A worker that has already finished has cleared the mark: leave it clear.
  expected = startingMark;
  busyMark.compare_exchange_strong(expected, thread);
  CloseHandle(thread);
  return true;
}
