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

std::unique_ptr<Output> Output::Open(long rate) {
  // A sound library has no business turning the process's SIGINT and SIGTERM into SDL quit
  // events; a program that wants that says so with a hint of its own.
  SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_DEFAULT);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    return nullptr;
  }
  std::unique_ptr<Output> output(new Output());
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(rate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kDeviceFrames;
  want.callback = &Output::Callback;
  want.userdata = output.get();
  SDL_AudioSpec have{};
  output->device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (output->device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  output->rate_ = rate;
  SDL_PauseAudioDevice(output->device_, 0);
  return output;
}

Output::~Output() {
  SDL_CloseAudioDevice(device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void Output::Add(std::shared_ptr<Stream> stream) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (std::find(streams_.begin(), streams_.end(), stream) == streams_.end()) {
      streams_.push_back(std::move(stream));
    }
  }
  added_.notify_all();
}

void Output::Remove(const Stream* stream) {
  std::lock_guard<std::mutex> hold(lock_);
  std::erase_if(streams_, [stream](const auto& s) { return s.get() == stream; });
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
