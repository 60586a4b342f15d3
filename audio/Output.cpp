#include "audio/Output.h"

#include "audio/SoundLibraryMessages.h"
#include "audio/Stream.h"
#include "platform/ResourceIds.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"

#include <algorithm>
#include <chrono>
#include <string_view>

namespace audio {

namespace {

// About 372 ms at 44.1 kHz: SDL's audio thread wakes under three times a second while a stream
// plays. Syncs are timed by the frame they belong to, not by the period that carries it. A longer
// period would let a stop's tail play longer: what the device or the sound server holds (up to
// a period, two on bare ALSA) still plays after it.
constexpr Uint16 kDeviceFrames = 16384;
// The device opened only to learn that there is one, closed again at once: closing waits for
// the period under way, so a short one lets the first stream open the device soon where devices
// take turns.
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

// SDL's disk driver writes a file, which takes one writer: a closing device's last data would
// land on the next device's.
bool DevicesTakeTurns() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver != nullptr && std::string_view(driver) == "disk";
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
  MutexLock device(deviceLock_);
  if (!output->BringAudioUp() || !output->OpenDevice(rate, kProbeFrames)) {
    device.Unlock();
    return nullptr;  // its destructor takes SDL's audio down
  }
  output->CloseLater();
  return output;
}

Output::~Output() {
  MutexLock device(deviceLock_);
  WaitForClosers();
  for (Closer& closer : closers_) {
    closer.thread.join();
  }
  TakeAudioDown();
}

bool Output::BringAudioUp() {
  // The whole audio subsystem comes and goes with the streams: some drivers keep a thread of
  // their own polling for devices while it is up.
  audioUp_ = audioUp_ || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  return audioUp_;
}

void Output::TakeAudioDown() {
  if (device_) {
    StopMixing(*device_);
    SDL_CloseAudioDevice(device_->id);
    device_.reset();
  }
  if (audioUp_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);  // which closes every device of the process
    audioUp_ = false;
  }
}

bool Output::OpenDevice(long rate, Uint16 frames) {
  if (!audioUp_) {
    return false;
  }
  auto device = std::make_unique<Device>();
  device->output = this;
  device->rate = rate;
  device->frames = frames;
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(rate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = frames;
  want.callback = &Output::Callback;
  want.userdata = device.get();
  SDL_AudioSpec have{};
  if (auto observer = openingObserver_.load()) {
    observer(
        {HintText(SDL_HINT_AUDIO_DEVICE_APP_NAME), HintText(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE)});
  }
  device->id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device->id == 0) {
    return false;
  }
  device_ = std::move(device);
  SDL_PauseAudioDevice(device_->id, 0);
  return true;
}

void Output::CloseLater() {
  std::erase_if(closers_, [](Closer& closer) {
    if (closer.done) {
      closer.thread.join();  // it has let go of deviceLock_ for the last time
    }
    return closer.done;
  });
  std::unique_ptr<Device> device = std::move(device_);
  if (device) {
    StopMixing(*device);
  }
  Closer& closer = closers_.emplace_back();
  // Started under deviceLock_, which it takes only once `closer` is complete.
  closer.thread = std::thread([this, &closer, device = std::move(device)]() mutable {
    if (device) {
      SDL_CloseAudioDevice(device->id);
      device.reset();
    }
    MutexLock hold(deviceLock_);
    closer.done = true;
    closed_.NotifyAll();
    bool idle = !device_ && !Closing();
    if (idle) {
      MutexLock streams(lock_);
      idle = streams_.empty();
    }
    if (idle) {
      TakeAudioDown();
    }
  });
}

void Output::StopMixing(Device& device) {
  // Cuts short a wait for silence, so that closing does not wait for it, and keeps the callback
  // from taking the streams' samples, which the next device plays.
  MutexLock hold(lock_);
  device.closing = true;
  added_.NotifyAll();
}

bool Output::Closing() const {
  return std::any_of(closers_.begin(), closers_.end(),
                     [](const Closer& closer) { return !closer.done; });
}

void Output::WaitForClosers() {
  while (Closing()) {
    closed_.Wait(deviceLock_);
  }
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
  if (device_ && device_->rate == rate && device_->frames == kDeviceFrames) {
    return true;
  }
  if (device_) {
    CloseLater();
  }
  if (DevicesTakeTurns()) {
    WaitForClosers();
  }
  if (OpenDevice(rate, kDeviceFrames)) {
    return true;
  }
  if (!Closing()) {
    return false;
  }
  // A device that takes one user at a time (a sound card without a mixer) opens once the last
  // one has closed.
  WaitForClosers();
  return OpenDevice(rate, kDeviceFrames);
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
  MutexLock device(deviceLock_);
  {
    MutexLock hold(lock_);
    if (!streams_.empty()) {
      return;  // a stream came meanwhile and keeps the device
    }
  }
  CloseLater();
}

void Output::Callback(void* device, Uint8* out, int bytes) {
  auto* self = static_cast<Device*>(device);
  self->output->Mix(*self, reinterpret_cast<std::int16_t*>(out),
                    static_cast<std::size_t>(bytes) / (2 * sizeof(std::int16_t)));
}

void Output::Mix(Device& device, std::int16_t* out, std::size_t frames) {
  {
    MutexLock hold(lock_);
    if (device.closing) {
      std::fill_n(out, frames * 2, 0);
      return;
    }
    device.mixing = streams_;
  }
  device.mix.assign(frames * 2, 0);
  std::size_t rendered = 0;
  for (const auto& stream : device.mixing) {
    rendered = std::max(rendered, stream->Render(device.mix.data(), frames));
  }
  device.mixing.clear();
  for (std::size_t i = 0; i < frames * 2; ++i) {
    // Written so that it compiles without branches: this loop runs over every sample played.
    std::int32_t v = device.mix[i];
    v = v < INT16_MIN ? INT16_MIN : v;
    v = v > INT16_MAX ? INT16_MAX : v;
    out[i] = static_cast<std::int16_t>(v);
  }
  if (rendered == 0) {
    // Nothing to play: take about the time this silence lasts, so that an output without its
    // own clock (a file) does not race ahead while a stream is still buffering.
    MutexLock hold(lock_);
    if (device.closing) {
      return;
    }
    added_.WaitUntil(lock_, std::chrono::steady_clock::now() +
                                std::chrono::microseconds(frames * 1000000 /
                                                          static_cast<std::size_t>(device.rate)));
  }
}

}  // namespace audio
