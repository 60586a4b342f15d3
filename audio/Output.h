// The sound output: one SDL audio device in 16-bit stereo, mixing every playing stream on
// SDL's audio thread. Nothing of the program runs on that thread.
#pragma once

#include <SDL.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace audio {

class Stream;

class Output {
 public:
  // The default device at `rate` Hz stereo, started; null when none can be opened.
  static std::unique_ptr<Output> Open(long rate);
  ~Output();  // stops the device; the mixing callback has returned when this returns
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  long rate() const noexcept { return rate_; }
  void Add(std::shared_ptr<Stream> stream);
  void Remove(const Stream* stream);

 private:
  Output() = default;
  static void Callback(void* self, Uint8* out, int bytes);
  void Mix(std::int16_t* out, std::size_t frames);

  SDL_AudioDeviceID device_ = 0;
  long rate_ = 0;
  std::mutex lock_;
  std::condition_variable added_;
  std::vector<std::shared_ptr<Stream>> streams_;
  // Audio thread only.
  std::vector<std::shared_ptr<Stream>> mixing_;
  std::vector<std::int32_t> mix_;
};

}  // namespace audio
