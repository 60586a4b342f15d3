// The sound output: one SDL audio device in 16-bit stereo, mixing every stream on SDL's audio
// thread. Nothing of the program runs on that thread. The device is open only while a stream
// plays: open, SDL's thread wakes once a period even for silence. It opens when the first
// stream is played, so that stream's first period goes out at once instead of after the
// silence already handed to the device.
#pragma once

#include "audio/Mutex.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace audio {

class Stream;

class Output {
 public:
  // An output at `rate` Hz stereo once the default device has opened; null when it cannot.
  // The device is closed again until a stream plays.
  static std::unique_ptr<Output> Open(long rate);
  ~Output();  // closes the device; the mixing callback has returned when this returns
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  long rate() const noexcept { return rate_; }
  // Mixes `stream` from now on (it gives nothing before it plays). SDL's audio comes up with
  // the first stream, which tells a machine whose sound has gone away; false then.
  bool Add(std::shared_ptr<Stream> stream) EXCLUDES(deviceLock_, lock_);
  // Opens the device if it is closed, for a stream that starts to play; false when it cannot.
  bool Start() EXCLUDES(deviceLock_);
  // Closes the device once no stream is left, on a thread of its own.
  void Remove(const Stream* stream) EXCLUDES(lock_);

 private:
  Output() = default;
  // Closes the device and takes SDL's audio down on the closer thread, unless a stream has
  // come by then.
  void CloseLater() EXCLUDES(closerLock_);
  bool BringAudioUp() REQUIRES(deviceLock_);
  void TakeAudioDown() REQUIRES(deviceLock_);  // closes the device first
  bool OpenDevice() REQUIRES(deviceLock_);     // SDL's audio up
  void CloseDevice() REQUIRES(deviceLock_) EXCLUDES(lock_);
  static void Callback(void* self, Uint8* out, int bytes);
  void Mix(std::int16_t* out, std::size_t frames) EXCLUDES(lock_);

  long rate_ = 0;
  // Opening and closing. SDL's audio state is the process's, and engines come and go on
  // different threads (the last stream of one may close while the next opens), so one lock
  // serves every output. Never taken on the audio thread, which closing waits for.
  static Mutex deviceLock_;
  bool audioUp_ GUARDED_BY(deviceLock_) = false;  // SDL's audio subsystem, while a stream is there
  SDL_AudioDeviceID device_ GUARDED_BY(deviceLock_) = 0;  // 0 while closed
  // The thread closing the device after the last stream left; joined before the next one.
  Mutex closerLock_;
  std::thread closer_ GUARDED_BY(closerLock_);
  Mutex lock_;
  Condition added_;  // a stream came, or the device closes
  std::vector<std::shared_ptr<Stream>> streams_ GUARDED_BY(lock_);
  // Audio thread only.
  std::vector<std::shared_ptr<Stream>> mixing_;
  std::vector<std::int32_t> mix_;
};

}  // namespace audio
