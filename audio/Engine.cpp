#include "audio/Engine.h"

#include "audio/Output.h"
#include "audio/Stream.h"
#include "audio/StreamSource.h"

#include <chrono>
#include <vector>

namespace audio {

Engine& Engine::Instance() {
  static auto* engine = new Engine;  // never destroyed: detached stream threads may outlive main
  return *engine;
}

Failure Engine::Init(DWORD freq) {
  MutexLock hold(lock_);
  if (output_) {
    return Failure::None;
  }
  output_ = Output::Open(freq == 0 ? 44100 : static_cast<long>(freq));
  freeing_ = false;
  return output_ ? Failure::None : Failure::NotInitialised;
}

bool Engine::Initialised() {
  MutexLock hold(lock_);
  return output_ != nullptr;
}

bool Engine::Free() {
  std::shared_ptr<Output> output;
  std::map<DWORD, std::shared_ptr<Stream>> streams;
  {
    MutexLock hold(lock_);
    if (!output_) {
      return false;
    }
    freeing_ = true;
    output = std::move(output_);
    streams.swap(streams_);
  }
  // The last stream to leave closes the device: the mixing callback has finished then.
  for (auto& [handle, stream] : streams) {
    output->Remove(stream.get());
  }
  output.reset();
  for (auto& [handle, stream] : streams) {
    stream->Stop();
  }
  return true;
}

Failure Engine::CreateStream(const std::string& url, DWORD flags, DOWNLOADPROC* proc, void* user,
                             DWORD& handle) {
  long rate = 0;
  std::weak_ptr<Output> weakOutput;
  {
    MutexLock hold(lock_);
    if (!output_) {
      return Failure::NotInitialised;
    }
    rate = output_->rate();
    weakOutput = output_;
  }
  SourceOptions options;
  options.followPlaylists = config_.netPlaylist != 0;
  options.limits.connectTimeoutMs = config_.netTimeoutMs;
  options.limits.stallTimeoutMs = config_.netReadTimeoutMs;
  options.cancelled = &freeing_;
  auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(config_.netTimeoutMs);
  OpenedSource source;
  if (Failure f = OpenSource(url, options, source); f != Failure::None) {
    return f;
  }
  std::string headerBlock = source.connection->Headers().Block();

  StreamSettings settings;
  settings.flags = flags;
  settings.downloadProc = proc;
  settings.user = user;
  settings.outputRate = rate;
  settings.rateFor = [weakOutput, rate](long own) {
    std::shared_ptr<Output> output = weakOutput.lock();
    return output ? output->RateFor(own) : rate;
  };
  settings.bufferMs = config_.netBufferMs;
  settings.sourceOptions = options;
  settings.reconnectBudget = std::chrono::milliseconds(config_.netReconnectMs.load());
  settings.reconnectUnit = std::chrono::milliseconds(config_.netReconnectUnitMs.load());
  settings.onAutoFree = [this](DWORD h) { FreeStream(h); };
  std::shared_ptr<Stream> stream;
  std::shared_ptr<Output> output;
  {
    MutexLock hold(lock_);
    if (!output_ || freeing_) {
      return Failure::Stopped;
    }
    settings.handle = nextHandle_++;
    settings.network = network_;  // under the lock: no change of it can pass the new stream by
    stream = std::make_shared<Stream>(std::move(settings), std::move(source));
    streams_[stream->handle()] = stream;
    output = output_;
  }
  if (proc != nullptr && (flags & BASS_STREAM_STATUS) != 0) {
    proc(headerBlock.data(), 0, user);
  }
  stream->Start();
  if (!output->Add(stream)) {
    FreeStream(stream->handle());
    return Failure::NotInitialised;
  }
  Failure failure = Failure::None;
  if (!stream->WaitForFormat(deadline, failure)) {
    FreeStream(stream->handle());
    return failure;
  }
  if (DWORD prebuf = config_.netPrebufPercent; prebuf > 0) {
    stream->WaitForBuffer(prebuf);
  }
  handle = stream->handle();
  return Failure::None;
}

bool Engine::FreeStream(DWORD handle) {
  std::shared_ptr<Stream> stream;
  std::shared_ptr<Output> output;
  {
    MutexLock hold(lock_);
    auto it = streams_.find(handle);
    if (it == streams_.end()) {
      return false;
    }
    stream = std::move(it->second);
    streams_.erase(it);
    output = output_;
  }
  if (output) {
    output->Remove(stream.get());
  }
  stream->Stop();
  return true;
}

std::shared_ptr<Stream> Engine::Find(DWORD handle) {
  MutexLock hold(lock_);
  auto it = streams_.find(handle);
  return it == streams_.end() ? nullptr : it->second;
}

void Engine::SetNetworkLink(NetworkLink link) {
  MutexLock hold(lock_);
  network_ = link;
  for (auto& [handle, stream] : streams_) {
    stream->NetworkChanged(link);
  }
}

Failure Engine::Play(DWORD handle) {
  std::shared_ptr<Stream> stream;
  std::shared_ptr<Output> output;
  {
    MutexLock hold(lock_);
    auto it = streams_.find(handle);
    if (it == streams_.end() || !output_) {
      return Failure::NoSuchStream;
    }
    stream = it->second;
    output = output_;
  }
  stream->Play();
  // Opened outside the engine's lock: the UI thread takes it, and opening can take a while.
  const long rate = stream->rate() != 0 ? stream->rate() : output->rate();
  return output->Start(rate) ? Failure::None : Failure::NoDevice;
}

}  // namespace audio
