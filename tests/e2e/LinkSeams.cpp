#include "tests/e2e/LinkSeams.h"

#include <atomic>
#include <map>
#include <mutex>
#include <utility>

#include "audio/AudioLibrary.h"
#include "platform/HeadlessScreen.h"

extern "C" DWORD __real_BASS_GetVersion();
extern "C" DWORD __wrap_BASS_GetVersion();

namespace {

std::atomic<bool> versionSet{false};
std::atomic<DWORD> versionWord{0};

std::mutex callsMutex;
std::map<std::pair<HWND, UINT>, int> calls;

void CountCall(HWND window, UINT message) {
  std::lock_guard lock(callsMutex);
  ++calls[{window, message}];
}

// Counting from before the first window is made.
[[maybe_unused]] const bool counting = (headless::ObserveDefWindowProc(CountCall), true);

}  // namespace

namespace seams {

void SetVersionWord(DWORD word) {
  versionWord.store(word);
  versionSet.store(true);
}

int DefWindowProcCalls(HWND window, UINT message) {
  std::lock_guard lock(callsMutex);
  const auto found = calls.find({window, message});
  return found == calls.end() ? 0 : found->second;
}

}  // namespace seams

DWORD __wrap_BASS_GetVersion() {
  return versionSet.load() ? versionWord.load() : __real_BASS_GetVersion();
}
