#include "audio/Output.h"

#include "audio/Stream.h"

#include <algorithm>
#include <chrono>

namespace audio {

namespace {

// About 46 ms at 44.1 kHz: the output thread, the largest share of a playing stream's CPU,
// wakes some twenty times a second, and syncs still fire within that time of their audio.
constexpr Uint16 kDeviceFrames = 2048;

}  // namespace

std::mutex Output::deviceLock_;

std::unique_ptr<Output> Output::Open(long rate) {
  // A sound library has no business turning the process's SIGINT and SIGTERM into SDL quit
  // events; a program that wants that says so with a hint of its own.
  SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_DEFAULT);
  std::unique_ptr<Output> output(new Output());
  output->rate_ = rate;
  std::lock_guard<std::mutex> device(deviceLock_);
  if (!output->OpenDevice()) {
    return nullptr;
  }
  output->CloseDevice();
  return output;
}

Output::~Output() {
  std::lock_guard<std::mutex> device(deviceLock_);
  CloseDevice();
}

bool Output::OpenDevice() {
  if (device_ != 0) {
    return true;
  }
  // The whole audio subsystem comes and goes with the device: some drivers keep a thread of
  // their own polling for devices while it is up.
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(rate_);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kDeviceFrames;
  want.callback = &Output::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void Output::CloseDevice() {
  if (device_ == 0) {
    return;
  }
  {
    // Cut short a wait for silence to pass, so that closing does not wait for it.
    std::lock_guard<std::mutex> hold(lock_);
    added_.notify_all();
  }
  SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  device_ = 0;
}

bool Output::Add(std::shared_ptr<Stream> stream) {
  const Stream* added = stream.get();
  std::lock_guard<std::mutex> device(deviceLock_);
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (std::find(streams_.begin(), streams_.end(), stream) == streams_.end()) {
      streams_.push_back(std::move(stream));
    }
  }
  added_.notify_all();
  if (OpenDevice()) {
    return true;
  }
  std::lock_guard<std::mutex> hold(lock_);
  std::erase_if(streams_, [added](const auto& s) { return s.get() == added; });
  return false;
}

void Output::Remove(const Stream* stream) {
  std::lock_guard<std::mutex> device(deviceLock_);
  {
    std::lock_guard<std::mutex> hold(lock_);
    std::erase_if(streams_, [stream](const auto& s) { return s.get() == stream; });
    if (!streams_.empty()) {
      return;
    }
  }
  CloseDevice();
}

void Output::Callback(void* self, Uint8* out, int bytes) {
  static_cast<Output*>(self)->Mix(reinterpret_cast<std::int16_t*>(out),
                                  static_cast<std::size_t>(bytes) / (2 * sizeof(std::int16_t)));
}

void Output::Mix(std::int16_t* out, std::size_t frames) {
  {
    std::unique_lock<std::mutex> hold(lock_);
    mixing_ = streams_;
  }
  mix_.assign(frames * 2, 0);
  std::size_t rendered = 0;
  for (const auto& stream : mixing_) {
    rendered = std::max(rendered, stream->Render(mix_.data(), frames));
  }
  mixing_.clear();
  for (std::size_t i = 0; i < frames * 2; ++i) {
    // Written so that it compiles without branches: this loop runs over every sample played.
    std::int32_t v = mix_[i];
    v = v < INT16_MIN ? INT16_MIN : v;
    v = v > INT16_MAX ? INT16_MAX : v;
    out[i] = static_cast<std::int16_t>(v);
  }
  if (rendered == 0) {
    // Nothing to play: take about the time this silence lasts, so that an output without its
    // own clock (a file) does not race ahead while a stream is still buffering.
    std::unique_lock<std::mutex> hold(lock_);
    added_.wait_for(hold,
                    std::chrono::microseconds(frames * 1000000 / static_cast<std::size_t>(rate_)));
  }
}

}  // namespace audio
