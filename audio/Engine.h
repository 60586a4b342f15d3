// The engine's process-wide state behind the BASS_* calls: the output, the stream handles and
// the settings. Every method may be called from any thread; failures come back typed.
#pragma once

#include "audio/AudioLibrary.h"
#include "audio/Failure.h"
#include "audio/LiveConnection.h"
#include "platform/Mutex.h"

#include <atomic>
#include <map>
#include <memory>
#include <string>

namespace audio {

class Output;
class Stream;

struct Config {
  std::atomic<DWORD> netTimeoutMs{5000};
  std::atomic<DWORD> netReadTimeoutMs{15000};
  std::atomic<DWORD> netBufferMs{5000};
  std::atomic<DWORD> netPrebufPercent{75};
  std::atomic<DWORD> netPlaylist{0};
  std::atomic<DWORD> netReconnectMs{0};
  std::atomic<DWORD> netReconnectUnitMs{1000};
};

class Engine {
 public:
  static Engine& Instance();

  Failure Init(DWORD freq) EXCLUDES(lock_);
  bool Initialised() EXCLUDES(lock_);
  // Stops the output and frees every stream; false when not initialised.
  bool Free() EXCLUDES(lock_);
  Config& config() noexcept { return config_; }

  // Blocks while connecting. On success `handle` is the new stream's.
  Failure CreateStream(const std::string& url, DWORD flags, DOWNLOADPROC* proc, void* user,
                       DWORD& handle) EXCLUDES(lock_);
  // False when the handle is unknown (zero, freed, never made).
  bool FreeStream(DWORD handle) EXCLUDES(lock_);
  // The stream, or null when the handle is unknown.
  std::shared_ptr<Stream> Find(DWORD handle) EXCLUDES(lock_);
  // What the system says of the network, handed to every live stream (see LiveConnection).
  void SetNetworkLink(NetworkLink link) EXCLUDES(lock_);
  // Plays the stream, opening the sound device if it sleeps.
  Failure Play(DWORD handle) EXCLUDES(lock_);

 private:
  Engine() = default;

  Mutex lock_;
  // Shared so that the device opens and closes outside `lock_`, which the UI thread takes.
  std::shared_ptr<Output> output_ GUARDED_BY(lock_);
  std::map<DWORD, std::shared_ptr<Stream>> streams_ GUARDED_BY(lock_);
  DWORD nextHandle_ GUARDED_BY(lock_) = 0x10001;
  NetworkLink network_ GUARDED_BY(lock_) = NetworkLink::Unknown;
  std::atomic<bool> freeing_{false};  // cancels connections in progress
  Config config_;
};

}  // namespace audio
