// What the engine tests share: an initialised engine whose sound goes to a file through SDL's
// disk driver, and small helpers to wait and to collect callbacks.
#pragma once

#include "audio/AudioLibrary.h"
#include "tests/support/SoundMeasure.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace enginetest {

// BASS_Init on the disk driver (or another SDL audio `driver`, which writes no sound file) for
// the life of the object, BASS_Free at its end. `realTime` false lets the disk driver run as fast
// as the engine can feed it.
class EngineSession {
 public:
  explicit EngineSession(bool realTime, const char* driver = "disk");
  ~EngineSession();
  EngineSession(const EngineSession&) = delete;
  EngineSession& operator=(const EngineSession&) = delete;

  const std::string& soundFile() const { return soundFile_; }
  sound::Recording Recorded() const { return sound::ReadDiskAudio(soundFile_); }
  // Real time only: the frames heard by `when`. The disk driver writes a whole period when it
  // begins and then waits for it to pass, so a period's frames are heard one by one over that
  // wait, as a sound card plays them.
  std::size_t HeardFramesAt(std::chrono::steady_clock::time_point when) const;

 private:
  struct Growth {
    std::chrono::steady_clock::time_point when;
    std::size_t frames;  // in the file from then on
  };
  void WatchSoundFile();

  fixture::TempDir dir_;
  std::string soundFile_;
  mutable std::mutex lock_;
  std::vector<Growth> growths_;
  bool watching_ = false;
  std::condition_variable stopWatching_;
  std::thread watcher_;
};

// Polls `condition` every 10 ms until it holds (true) or `timeout` passes (false).
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// The strings of a tag block (NUL-terminated strings ended by an empty one).
std::vector<std::string> TagLines(const char* block);

// Records sync calls, with what the stream's tags said at that moment and when they came. Pass
// the object as the sync's user value with Record as the callback.
class SyncLog {
 public:
  struct Call {
    HSYNC sync;
    DWORD channel;
    std::string tag;  // the tag of `tagType` at the call
    std::chrono::steady_clock::time_point when;
  };

  explicit SyncLog(DWORD tagType) : tagType_(tagType) {}
  static void CALLBACK Record(HSYNC sync, DWORD channel, DWORD data, void* user);

  std::vector<Call> Calls() const;
  std::size_t Count() const;

 private:
  DWORD tagType_;
  mutable std::mutex lock_;
  std::vector<Call> calls_;
};

}  // namespace enginetest
