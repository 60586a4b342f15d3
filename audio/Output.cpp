#include "audio/Output.h"

#include "audio/SoundLibraryMessages.h"
#include "audio/Stream.h"
#include "platform/ResourceIds.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"

#include <algorithm>
#include <chrono>

namespace audio {

namespace {

// About 372 ms at 44.1 kHz: SDL's audio thread wakes under three times a second while a stream
// plays. Syncs are timed by the frame they belong to, not by the period that carries it. A longer
// period would make a stop, or a change of station, wait longer: closing the device waits for
// the period under way.
constexpr Uint16 kDeviceFrames = 16384;
// The device opened only to learn that there is one, closed again at once: closing waits for the
// period under way, so a short one lets the first stream open the device without that wait.
constexpr Uint16 kProbeFrames = 1024;

// Rates nearly every sound device and server takes as they are.
bool CommonDeviceRate(long rate) {
  return rate == 44100 || rate == 48000;
}

// The stream is the program's music: the sound server then treats it as a music player's
// (routing, ducking for a call, pausing). What the environment sets for SDL still wins.
void NameTheStream() {
  WCHAR name[100];
  LoadStringW(GetModuleHandleW(nullptr), IDS_APP_TITLE, name, 100);
  SDL_SetHintWithPriority(SDL_HINT_AUDIO_DEVICE_APP_NAME, WideToUtf8(name).c_str(),
                          SDL_HINT_DEFAULT);
  SDL_SetHintWithPriority(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "music", SDL_HINT_DEFAULT);
}

std::string HintText(const char* hint) {
  const char* value = SDL_GetHint(hint);
  return value != nullptr ? value : "";
}

}  // namespace

Mutex Output::deviceLock_;
std::atomic<void (*)(const StreamNaming&)> Output::openingObserver_{nullptr};

std::unique_ptr<Output> Output::Open(long rate) {
  // A sound library has no business turning the process's SIGINT and SIGTERM into SDL quit
  // events; a program that wants that says so with a hint of its own.
  SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_DEFAULT);
  NameTheStream();
  SilenceSoundLibraryMessages();
  std::unique_ptr<Output> output(new Output());
  output->rate_ = rate;
  {
    MutexLock device(deviceLock_);
    if (!output->BringAudioUp() || !output->OpenDevice(rate, kProbeFrames)) {
      output->TakeAudioDown();
      return nullptr;
    }
  }
  output->CloseLater();
  return output;
}

Output::~Output() {
  {
    MutexLock hold(closerLock_);
    if (closer_.joinable()) {
      closer_.join();
    }
  }
  MutexLock device(deviceLock_);
  TakeAudioDown();
}

bool Output::BringAudioUp() {
  // The whole audio subsystem comes and goes with the streams: some drivers keep a thread of
  // their own polling for devices while it is up.
  audioUp_ = audioUp_ || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  return audioUp_;
}

void Output::TakeAudioDown() {
  CloseDevice();
  if (audioUp_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioUp_ = false;
  }
}

bool Output::OpenDevice(long rate, Uint16 frames) {
  if (device_ != 0 && deviceRate_ == rate && deviceFrames_ == frames) {
    return true;
  }
  CloseDevice();
  deviceRate_ = rate;
  deviceFrames_ = frames;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(rate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = frames;
  want.callback = &Output::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  if (auto observer = openingObserver_.load()) {
    observer(
        {HintText(SDL_HINT_AUDIO_DEVICE_APP_NAME), HintText(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE)});
  }
  {
    MutexLock hold(lock_);
    closing_ = false;
  }
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
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
    // Cut short a wait for silence to pass, and keep the callback from starting another, so
    // that closing does not wait for them.
    MutexLock hold(lock_);
    closing_ = true;
    added_.NotifyAll();
  }
  SDL_CloseAudioDevice(device_);
  device_ = 0;
}

bool Output::Add(std::shared_ptr<Stream> stream) {
  MutexLock device(deviceLock_);
  if (!BringAudioUp()) {
    return false;
  }
  {
    MutexLock hold(lock_);
    if (std::find(streams_.begin(), streams_.end(), stream) == streams_.end()) {
      streams_.push_back(std::move(stream));
    }
  }
  added_.NotifyAll();
  return true;
}

bool Output::Start(long rate) {
  MutexLock device(deviceLock_);
  return audioUp_ && OpenDevice(rate, kDeviceFrames);
}

long Output::RateFor(long own) {
  MutexLock hold(lock_);
  for (const auto& stream : streams_) {
    if (long other = stream->rate(); other != 0 && other != own) {
      return other;
    }
  }
  return CommonDeviceRate(own) ? own : rate_;
}

void Output::Remove(const Stream* stream) {
  {
    MutexLock hold(lock_);
    std::erase_if(streams_, [stream](const auto& s) { return s.get() == stream; });
    if (!streams_.empty()) {
      return;
    }
  }
  CloseLater();
}

void Output::CloseLater() {
  // SDL lets a closing device drain for two periods (some 740 ms): whoever left the device
  // (start-up, a stream's own thread at its end, the next tune-in) does not wait for that.
  MutexLock hold(closerLock_);
  if (closer_.joinable()) {
    closer_.join();
  }
  closer_ = std::thread([this] {
    MutexLock device(deviceLock_);
    bool idle = false;
    {
      MutexLock streams(lock_);
      idle = streams_.empty();  // else a stream came meanwhile and keeps the device
    }
    if (idle) {
      TakeAudioDown();
    }
  });
}

void Output::Callback(void* self, Uint8* out, int bytes) {
  static_cast<Output*>(self)->Mix(reinterpret_cast<std::int16_t*>(out),
                                  static_cast<std::size_t>(bytes) / (2 * sizeof(std::int16_t)));
}

void Output::Mix(std::int16_t* out, std::size_t frames) {
  {
    MutexLock hold(lock_);
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
    MutexLock hold(lock_);
    if (closing_) {
      return;
    }
    added_.WaitUntil(lock_,
                     std::chrono::steady_clock::now() +
                         std::chrono::microseconds(frames * 1000000 /
                                                   static_cast<std::size_t>(deviceRate_.load())));
  }
}

}  // namespace audio
