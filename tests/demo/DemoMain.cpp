// tunedeck-demo: the real player on the real screen against the simulated internet on loopback,
// so that every screen can be tried offline. The stations' titles change every so often; a new
// title brings its cover. Closing the window (or Ctrl+C) stops the servers.
#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include <malloc.h>
#include <unistd.h>

#include "app/MainWindow.h"
#include "platform/HeadlessScreen.h"
#include "tests/support/SimulatedInternet.h"
#include "tests/support/TempDir.h"

namespace {

constexpr std::chrono::seconds kTitleChangeEvery{30};

// An application folder holding copies of the shipped data files, as an installed player has.
void FillApplicationFolder(const fixture::TempDir& folder) {
  const std::filesystem::path data = std::filesystem::path(TUNEDECK_SOURCE_DIR) / "data";
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    std::filesystem::copy_file(entry.path(), folder.File(entry.path().filename().string()));
  }
}

// Announces each MP3 station's next title in turn, until stopped.
class TitleChanges {
 public:
  explicit TitleChanges(fixture::SimulatedInternet& internet)
      : thread_([this, &internet] { Run(internet); }) {}
  ~TitleChanges() {
    {
      std::lock_guard hold(lock_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  TitleChanges(const TitleChanges&) = delete;
  TitleChanges& operator=(const TitleChanges&) = delete;

 private:
  void Run(fixture::SimulatedInternet& internet) {
    std::unique_lock hold(lock_);
    while (!wake_.wait_for(hold, kTitleChangeEvery, [this] { return stopping_; })) {
      for (const auto& station : internet.stations()) {
        if (!station.ogg()) {
          const std::string title = internet.NextTitle(station.mount);
          std::printf("%s now announces \"%s\"\n", station.name.c_str(), title.c_str());
        }
      }
    }
  }

  std::mutex lock_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

// Without a sound device the player would stop at its start-up error box; the demo then plays
// silently instead, so every screen can still be tried.
void PlaySilentlyWithoutASoundDevice() {
  if (std::getenv("SDL_AUDIODRIVER") != nullptr) {
    return;
  }
  bool opened = false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    SDL_AudioSpec wanted = {};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 4096;
    if (const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0)) {
      SDL_CloseAudioDevice(device);
      opened = true;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  if (!opened) {
    std::printf("tunedeck-demo: no sound device, playing silently\n");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
}

}  // namespace

int main() {
  mallopt(M_ARENA_MAX, 1);  // one malloc arena for every thread, as the program's main does
  // Ctrl+C and a polite kill close the window as its close box would, so the servers stop too.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");
  PlaySilentlyWithoutASoundDevice();
  try {
    std::printf("tunedeck-demo: starting the simulated internet...\n");
    fixture::SimulatedInternet internet;
    internet.MapHosts();
    fixture::TempDir folder;
    FillApplicationFolder(folder);
    const std::string module = folder.File("tunedeck");
    headless::SetModulePath(std::wstring(module.begin(), module.end()));
    // A channel of its own, so an installed player that is running does not take over.
    headless::SetInstanceChannel("tunedeck-demo-" + std::to_string(getpid()));
    TitleChanges changes(internet);
    std::printf("tunedeck-demo: ready; try Ambient, Blues or Chillout.\n");
    std::fflush(stdout);
    return WinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "tunedeck-demo: %s\n", failure.what());
    return 1;
  }
}
