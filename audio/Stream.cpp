#include "audio/Stream.h"

#include <pthread.h>

#include <algorithm>
#include <thread>

namespace audio {

namespace {

constexpr unsigned kAssumedKbps = 128;  // until the stream tells its bit rate
constexpr std::size_t kMinBufferBytes = 16 * 1024;
constexpr std::size_t kMaxBufferBytes = 4 * 1024 * 1024;
// Decoded audio kept ready for the output: four of its 16384-frame periods, so that it is
// refilled once every three periods (when less than two are left).
constexpr long kSampleQueueMs = 1500;
constexpr long kHighestOwnRate = 48000;  // that a stream is played at without conversion

thread_local const Stream* tlsWorkerOf = nullptr;  // the stream whose thread this is
thread_local bool tlsInCallback = false;

}  // namespace

Stream::Stream(StreamSettings settings, OpenedSource source)
    : settings_(std::move(settings)),
      source_(std::move(source)),
      connection_(source_, settings_.sourceOptions, settings_.network),
      // Room for the highest rate the stream may put out.
      samples_(static_cast<std::size_t>(std::max(settings_.outputRate, kHighestOwnRate) *
                                        kSampleQueueMs / 1000) *
               2),
      timeline_(settings_.outputRate) {
  const ResponseHeaders& headers = connection_.Current().Headers();
  // An HLS playlist lives until it says it has ended.
  live_ = source_.hls ? !source_.hls->playlist.ended : headers.Value("content-length").empty();
  headerBlock_ = headerTags_.Keep(headers.Block());
  icy_ = headers.IsIcy();
  metaint_ = headers.Metaint();
  headerBitrate_ = headers.Bitrate();
  demuxer_ = std::make_unique<IcyDemuxer>(metaint_);
  download_.SetCapacity(BufferBytes(headerBitrate_ != 0 ? headerBitrate_ : kAssumedKbps));
}

Stream::~Stream() = default;

std::size_t Stream::BufferBytes(unsigned kbps) const {
  std::size_t bytes = static_cast<std::size_t>(kbps) * settings_.bufferMs / 8;
  return std::clamp(bytes, kMinBufferBytes, kMaxBufferBytes);
}

template <typename F>
void Stream::RunWorker(const char* name, F&& body) {
  {
    MutexLock hold(lock_);
    ++workers_;
  }
  std::thread([self = shared_from_this(), name, body = std::forward<F>(body)]() mutable {
    // Named, so that a look at the process's threads tells which part of a stream woke.
    pthread_setname_np(pthread_self(), name);
    tlsWorkerOf = self.get();
    body(*self);
    self->WorkerEnded();
  }).detach();
}

void Stream::WorkerEnded() {
  {
    MutexLock hold(lock_);
    --workers_;
  }
  settled_.NotifyAll();
}

void Stream::CallOut(const std::function<void()>& call) {
  {
    MutexLock hold(lock_);
    if (stopping_) {
      return;
    }
    ++inCallback_;
  }
  tlsInCallback = true;
  call();
  tlsInCallback = false;
  {
    MutexLock hold(lock_);
    --inCallback_;
  }
  settled_.NotifyAll();
}

bool Stream::Stopping() {
  MutexLock hold(lock_);
  return stopping_;
}

void Stream::Start() {
  RunWorker("stream download", [](Stream& s) { s.DownloadThread(); });
  RunWorker("stream decode", [](Stream& s) { s.DecodeThread(); });
  RunWorker("stream events", [](Stream& s) { s.EventThread(); });
}

bool Stream::WaitForFormat(std::chrono::steady_clock::time_point deadline, Failure& failure) {
  MutexLock hold(lock_);
  bool timedOut = false;
  while (!formatKnown_ && !decodeEnded_ && !stopping_ && !timedOut) {
    timedOut = !settled_.WaitUntil(lock_, deadline);
  }
  if (formatKnown_) {
    return true;
  }
  if (stopping_) {
    failure = Failure::Stopped;
  } else if (!decodeEnded_) {
    failure = Failure::Timeout;
  } else {
    failure = failure_ != Failure::None ? failure_ : Failure::BadFormat;
  }
  return false;
}

void Stream::WaitForBuffer(DWORD percent) {
  download_.WaitForFill(percent);
}

void Stream::Stop() {
  {
    MutexLock hold(lock_);
    stopping_ = true;
  }
  settled_.NotifyAll();  // a wait for the format ends at once
  connection_.Cancel();
  download_.Close();
  samples_.Stop();
  timeline_.Stop();
  // A thread inside a program callback may be waiting for the caller (the UI thread): it is
  // not waited for; it finds the stream stopped when the callback returns.
  MutexLock hold(lock_);
  while (workers_ > inCallback_ + ((tlsWorkerOf == this && !tlsInCallback) ? 1 : 0)) {
    settled_.Wait(lock_);
  }
}

QWORD Stream::FilePosition(DWORD mode) {
  const DownloadBuffer::Levels levels = download_.Current();
  switch (mode) {
    case BASS_FILEPOS_CURRENT:
      return levels.read;
    case BASS_FILEPOS_DOWNLOAD:
      return levels.written;
    case BASS_FILEPOS_END:
      return levels.capacity;
    case BASS_FILEPOS_START:
      return 0;
    case BASS_FILEPOS_CONNECTED:
      return levels.connected ? 1 : 0;
    case BASS_FILEPOS_BUFFER:
      return levels.buffered;
    default:
      return static_cast<QWORD>(-1);
  }
}

const char* Stream::Tags(DWORD type) {
  switch (type) {
    case BASS_TAG_ICY:
      return icy_ ? headerBlock_ : nullptr;
    case BASS_TAG_HTTP:
      return icy_ ? nullptr : headerBlock_;
    case BASS_TAG_META:
      if (const char* text = timeline_.CurrentOrNext(EventTimeline::Kind::Meta)) {
        return text;
      }
      // Metadata found in the download whose audio has not yet been decoded.
      if (std::optional<DownloadBuffer::MetaAtByte> meta = download_.FirstPendingMeta()) {
        return timeline_.Announce(EventTimeline::Kind::Meta, meta->text, meta->serial);
      }
      return nullptr;
    case BASS_TAG_OGG:
      return timeline_.CurrentOrNext(EventTimeline::Kind::OggChange);
    default:
      return nullptr;
  }
}

HSYNC Stream::AddSync(DWORD type, SYNCPROC* proc, void* user) {
  static std::atomic<HSYNC> nextSync{1};
  HSYNC sync = nextSync.fetch_add(1);
  timeline_.AddSync({sync, type, proc, user});
  return sync;
}

void Stream::Play() {
  if (Stopping()) {
    return;
  }
  download_.StartPlaying();
  samples_.Play();
  timeline_.Play();
}

std::size_t Stream::Render(std::int32_t* mix, std::size_t frames) {
  std::optional<SampleQueue::Period> period =
      samples_.Render(mix, frames, std::chrono::steady_clock::now());
  if (!period) {
    return 0;
  }
  timeline_.Rendered(period->position);
  return period->frames;
}

std::size_t Stream::Read(std::uint8_t* out, std::size_t max) {
  return download_.Read(out, max);
}

}  // namespace audio
