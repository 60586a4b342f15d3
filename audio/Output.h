// The sound output: SDL audio devices in 16-bit stereo, mixing every stream on SDL's audio
// thread. The device runs at the rate of the stream that plays, so that a 48 kHz stream is not
// converted to 44.1 kHz and back by the sound system; it is opened again when that rate changes.
// Nothing of the program runs on that thread. The device is open only while a stream plays: open,
// SDL's thread wakes once a period even for silence. It opens when the first stream is played, so
// that stream's first period goes out at once instead of after the silence already handed to the
// device. A device closes on a thread of its own (SDL lets it drain for two periods first), and
// the next one opens meanwhile, so a change of station does not wait for the last one's close.
#pragma once

#include "platform/Mutex.h"

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <list>
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
  ~Output();  // closes the devices; every mixing callback has returned when this returns
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
  // to play; false when it cannot. A device open at another rate closes on a thread of its own.
  bool Start(long rate) EXCLUDES(deviceLock_, lock_);
  // Closes the device once no stream is left, on a thread of its own.
  void Remove(const Stream* stream) EXCLUDES(deviceLock_, lock_);

  // Tests: `observer` is called right before each opening of the sound device, with the names
  // SDL hands the sound server then. Null: none.
  static void ObserveOpening(void (*observer)(const StreamNaming&)) noexcept {
    openingObserver_ = observer;
  }

 private:
  // One open SDL device and what its audio thread mixes with: a closing device's thread runs
  // beside the next device's.
  struct Device {
    Output* output = nullptr;
    SDL_AudioDeviceID id = 0;
    long rate = 0;
    Uint16 frames = 0;  // its period
    // It renders nothing more: the streams belong to the next device. Set with the output's
    // lock_ held, so that a wait for silence under that lock cannot miss it.
    std::atomic<bool> closing{false};
    // Its audio thread only.
    std::vector<std::shared_ptr<Stream>> mixing;
    std::vector<std::int32_t> mix;
  };
  // A thread closing a device; done once it no longer touches the output.
  struct Closer {
    std::thread thread;
    bool done = false;
  };

  Output() = default;
  // Closes the device on a thread of its own, which then takes SDL's audio down unless a device
  // or a stream is there by then.
  void CloseLater() REQUIRES(deviceLock_) EXCLUDES(lock_);
  void StopMixing(Device& device) EXCLUDES(lock_);
  void WaitForClosers() REQUIRES(deviceLock_);
  bool Closing() const REQUIRES(deviceLock_);
  bool BringAudioUp() REQUIRES(deviceLock_);
  void TakeAudioDown() REQUIRES(deviceLock_) EXCLUDES(lock_);  // closes the device first
  // With periods of `frames`, once SDL's audio is up.
  bool OpenDevice(long rate, Uint16 frames) REQUIRES(deviceLock_) EXCLUDES(lock_);
  static void Callback(void* device, Uint8* out, int bytes);
  void Mix(Device& device, std::int16_t* out, std::size_t frames) EXCLUDES(lock_);

  long rate_ = 0;
  // Opening and closing. SDL's audio state is the process's, and engines come and go on
  // different threads, so one lock serves every output. Never taken on an audio thread, which
  // closing waits for.
  static Mutex deviceLock_;
  static std::atomic<void (*)(const StreamNaming&)> openingObserver_;
  bool audioUp_ GUARDED_BY(deviceLock_) = false;  // SDL's audio subsystem, while a stream is there
  std::unique_ptr<Device> device_ GUARDED_BY(deviceLock_);  // null while closed
  std::list<Closer> closers_ GUARDED_BY(deviceLock_);       // joined once done
  Condition closed_;                                        // a closer is done
  Mutex lock_;
  Condition added_;  // a stream came, or a device closes
  std::vector<std::shared_ptr<Stream>> streams_ GUARDED_BY(lock_);
};

}  // namespace audio
