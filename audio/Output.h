// The sound output: one SDL audio device in 16-bit stereo, mixing every stream on SDL's audio
// thread. The device runs at the rate of the stream that plays, so that a 48 kHz stream is not
// converted to 44.1 kHz and back by the sound system; it is opened again when that rate changes.
// Nothing of the program runs on that thread. The device is open only while a stream plays: open,
// SDL's thread wakes once a period even for silence. It opens when the first stream is played, so
// that stream's first period goes out at once instead of after the silence already handed to the
// device.
#pragma once

#include "platform/Mutex.h"

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace audio {

class Stream;

// How the sound stream names itself to the sound server (PulseAudio, PipeWire), which routes,
// ducks and pauses it by these.
struct StreamNaming {
  std::string applicationName;
  std::string role;
};

class Output {
 public:
  // An output at `rate` Hz stereo once the default device has opened; null when it cannot.
  // The device is closed again until a stream plays.
  static std::unique_ptr<Output> Open(long rate);
  ~Output();  // closes the device; the mixing callback has returned when this returns
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // The rate a stream is converted to when its own is not one that devices commonly take.
  long rate() const noexcept { return rate_; }
  // The rate a stream whose samples come at `own` Hz should put out: its own when it is a
  // common device rate and no other stream is mixed at another rate, else that stream's rate or
  // rate().
  long RateFor(long own) EXCLUDES(lock_);
  // Mixes `stream` from now on (it gives nothing before it plays). SDL's audio comes up with
  // the first stream, which tells a machine whose sound has gone away; false then.
  bool Add(std::shared_ptr<Stream> stream) EXCLUDES(deviceLock_, lock_);
  // Opens the device at `rate` if it is closed or runs at another rate, for a stream that starts
  // to play; false when it cannot.
  bool Start(long rate) EXCLUDES(deviceLock_, lock_);
  // Closes the device once no stream is left, on a thread of its own.
  void Remove(const Stream* stream) EXCLUDES(lock_);

  // Tests: `observer` is called right before each opening of the sound device, with the names
  // SDL hands the sound server then. Null: none.
  static void ObserveOpening(void (*observer)(const StreamNaming&)) noexcept {
    openingObserver_ = observer;
  }

 private:
  Output() = default;
  // Closes the device and takes SDL's audio down on the closer thread, unless a stream has
  // come by then.
  void CloseLater() EXCLUDES(closerLock_);
  bool BringAudioUp() REQUIRES(deviceLock_);
  void TakeAudioDown() REQUIRES(deviceLock_);  // closes the device first
  // With periods of `frames`; SDL's audio up.
  bool OpenDevice(long rate, Uint16 frames) REQUIRES(deviceLock_);
  void CloseDevice() REQUIRES(deviceLock_) EXCLUDES(lock_);
  static void Callback(void* self, Uint8* out, int bytes);
  void Mix(std::int16_t* out, std::size_t frames) EXCLUDES(lock_);

  long rate_ = 0;
  std::atomic<long> deviceRate_{0};  // the rate the device was opened at last
  // Opening and closing. SDL's audio state is the process's, and engines come and go on
  // different threads (the last stream of one may close while the next opens), so one lock
  // serves every output. Never taken on the audio thread, which closing waits for.
  static Mutex deviceLock_;
  static std::atomic<void (*)(const StreamNaming&)> openingObserver_;
  bool audioUp_ GUARDED_BY(deviceLock_) = false;  // SDL's audio subsystem, while a stream is there
  SDL_AudioDeviceID device_ GUARDED_BY(deviceLock_) = 0;  // 0 while closed
  Uint16 deviceFrames_ GUARDED_BY(deviceLock_) = 0;       // its period
  // The thread closing the device after the last stream left; joined before the next one.
  Mutex closerLock_;
  std::thread closer_ GUARDED_BY(closerLock_);
  Mutex lock_;
  Condition added_;  // a stream came, or the device closes
  std::vector<std::shared_ptr<Stream>> streams_ GUARDED_BY(lock_);
  bool closing_ GUARDED_BY(lock_) = false;  // the device is being closed
  // Audio thread only.
  std::vector<std::shared_ptr<Stream>> mixing_;
  std::vector<std::int32_t> mix_;
};

}  // namespace audio
