#include "audio/Stream.h"

#include <pthread.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace audio {

namespace {

constexpr unsigned kAssumedKbps = 128;  // until the stream tells its bit rate
constexpr std::size_t kMinBufferBytes = 16 * 1024;
constexpr std::size_t kMaxBufferBytes = 4 * 1024 * 1024;
// Decoded audio kept ready for the output: several of its periods, refilled twice a second.
constexpr long kSampleQueueMs = 1000;

thread_local const Stream* tlsWorkerOf = nullptr;  // the stream whose thread this is
thread_local bool tlsInCallback = false;

}  // namespace

Stream::Stream(StreamSettings settings, OpenedSource source)
    : settings_(std::move(settings)),
      source_(std::move(source)),
      connection_(source_, settings_.sourceOptions) {
  const ResponseHeaders& headers = connection_.Current().Headers();
  live_ = headers.Value("content-length").empty();
  headerBlock_ = headers.Block();
  icy_ = headers.IsIcy();
  metaint_ = headers.Metaint();
  headerBitrate_ = headers.Bitrate();
  demuxer_ = std::make_unique<IcyDemuxer>(metaint_);
  ResizeBuffer(headerBitrate_ != 0 ? headerBitrate_ : kAssumedKbps);
  samples_.SetCapacity(static_cast<std::size_t>(settings_.outputRate * kSampleQueueMs / 1000) * 2);
}

Stream::~Stream() = default;

void Stream::ResizeBuffer(unsigned kbps) {
  std::size_t bytes = static_cast<std::size_t>(kbps) * settings_.bufferMs / 8;
  buffer_.SetCapacity(std::clamp(bytes, kMinBufferBytes, kMaxBufferBytes));
}

template <typename F>
void Stream::RunWorker(const char* name, F&& body) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    ++workers_;
  }
  std::thread([self = shared_from_this(), name, body = std::forward<F>(body)]() mutable {
    // Named, so that a look at the process's threads tells which part of a stream woke.
    pthread_setname_np(pthread_self(), name);
    tlsWorkerOf = self.get();
    body(*self);
    {
      std::lock_guard<std::mutex> hold(self->lock_);
      --self->workers_;
    }
    self->settled_.notify_all();
  }).detach();
}

void Stream::CallOut(std::unique_lock<std::mutex>& hold, const std::function<void()>& call) {
  if (stopping_) {
    return;
  }
  ++inCallback_;
  tlsInCallback = true;
  hold.unlock();
  call();
  hold.lock();
  tlsInCallback = false;
  --inCallback_;
  settled_.notify_all();
}

void Stream::Start() {
  RunWorker("stream download", [](Stream& s) { s.DownloadThread(); });
  RunWorker("stream decode", [](Stream& s) { s.DecodeThread(); });
  RunWorker("stream events", [](Stream& s) { s.EventThread(); });
}

bool Stream::WaitForFormat(std::chrono::steady_clock::time_point deadline, Failure& failure) {
  std::unique_lock<std::mutex> hold(lock_);
  bool settled = settled_.wait_until(hold, deadline,
                                     [this] { return formatKnown_ || decodeEnded_ || stopping_; });
  if (formatKnown_) {
    return true;
  }
  if (stopping_) {
    failure = Failure::Stopped;
  } else if (!settled) {
    failure = Failure::Timeout;
  } else {
    failure = failure_ != Failure::None ? failure_ : Failure::BadFormat;
  }
  return false;
}

void Stream::WaitForBuffer(DWORD percent) {
  std::unique_lock<std::mutex> hold(lock_);
  settled_.wait(hold, [this, percent] {
    return stopping_ || downloadEnded_ || decodeEnded_ ||
           BufferedBytes() * 100 >= buffer_.Capacity() * std::min<DWORD>(percent, 100);
  });
}

void Stream::Stop() {
  std::unique_lock<std::mutex> hold(lock_);
  stopping_ = true;
  playing_ = false;
  connection_.Cancel();
  for (std::condition_variable* waiters :
       {&dataArrived_, &queueRoom_, &downloadWake_, &eventReady_, &settled_}) {
    waiters->notify_all();
  }
  // A thread inside a program callback may be waiting for the caller (the UI thread): it is
  // not waited for; it finds the stream stopped when the callback returns.
  int notWaitedFor = inCallback_ + ((tlsWorkerOf == this && !tlsInCallback) ? 1 : 0);
  settled_.wait(hold, [&] {
    notWaitedFor = inCallback_ + ((tlsWorkerOf == this && !tlsInCallback) ? 1 : 0);
    return workers_ <= notWaitedFor;
  });
}

std::size_t Stream::BufferedBytes() const {
  const std::uint64_t decodedAhead = playing_ ? 0 : bytesRead_;
  return static_cast<std::size_t>(
      std::min<std::uint64_t>(buffer_.Size() + decodedAhead, buffer_.Capacity()));
}

QWORD Stream::FilePosition(DWORD mode) {
  std::lock_guard<std::mutex> hold(lock_);
  switch (mode) {
    case BASS_FILEPOS_CURRENT:
      return bytesRead_;
    case BASS_FILEPOS_DOWNLOAD:
      return bytesWritten_;
    case BASS_FILEPOS_END:
      return buffer_.Capacity();
    case BASS_FILEPOS_START:
      return 0;
    case BASS_FILEPOS_CONNECTED:
      return connected_ ? 1 : 0;
    case BASS_FILEPOS_BUFFER:
      return BufferedBytes();
    default:
      return static_cast<QWORD>(-1);
  }
}

const char* Stream::CurrentOrNext(EventKind kind) {
  const int k = static_cast<int>(kind);
  const std::string* text = nullptr;
  std::uint64_t serial = 0;
  if (current_[k].serial != 0) {
    text = &current_[k].text;
    serial = current_[k].serial;
  } else {
    auto next = std::find_if(timeline_.begin(), timeline_.end(),
                             [kind](const Event& e) { return e.kind == kind; });
    if (next != timeline_.end()) {
      text = &next->text;
      serial = next->serial;
    } else if (kind == EventKind::Meta && !metaByByte_.empty()) {
      text = &metaByByte_.front().text;
      serial = metaByByte_.front().serial;
    }
  }
  if (text == nullptr) {
    return nullptr;
  }
  if (kept_[k] == nullptr || *text != kept_[k]) {
    kept_[k] = tagTexts_.Keep(*text);
  }
  announced_[k] = serial;
  return kept_[k];
}

const char* Stream::Tags(DWORD type) {
  std::lock_guard<std::mutex> hold(lock_);
  switch (type) {
    case BASS_TAG_ICY:
      return icy_ ? headerBlock_.c_str() : nullptr;
    case BASS_TAG_HTTP:
      return icy_ ? nullptr : headerBlock_.c_str();
    case BASS_TAG_META:
      return CurrentOrNext(EventKind::Meta);
    case BASS_TAG_OGG:
      return CurrentOrNext(EventKind::OggChange);
    default:
      return nullptr;
  }
}

HSYNC Stream::AddSync(DWORD type, SYNCPROC* proc, void* user) {
  static std::atomic<HSYNC> nextSync{1};
  HSYNC sync = nextSync.fetch_add(1);
  std::lock_guard<std::mutex> hold(lock_);
  syncs_.push_back({sync, type, proc, user});
  return sync;
}

void Stream::Play() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (stopping_) {
      return;
    }
    playing_ = true;
  }
  eventReady_.notify_one();
}

std::size_t Stream::Render(std::int32_t* mix, std::size_t frames) {
  std::unique_lock<std::mutex> hold(lock_);
  if (!playing_ || stopping_ || ended_) {
    return 0;
  }
  if (stalled_) {
    // After running dry, wait for a nearly full queue so playback does not stutter. (The
    // decoder refills in quarters of the queue, so "full" might never come exactly.)
    if (samples_.Space() >= samples_.Capacity() / 4 && !decodeEnded_) {
      return 0;
    }
    stalled_ = false;
  }
  periodFirstFrame_ = framesPlayed_;
  periodStart_ = std::chrono::steady_clock::now();
  renderScratch_.resize(frames * 2);
  std::size_t got = samples_.Read(renderScratch_.data(), frames * 2);
  for (std::size_t i = 0; i < got; ++i) {
    mix[i] += renderScratch_[i];
  }
  framesPlayed_ += got / 2;
  if (got < frames * 2 && !decodeEnded_) {
    stalled_ = true;
  }
  // Wake the decoder only once it can refill in a large step, and the event thread only when it
  // has something to do.
  const bool refill = samples_.Space() >= RefillMark();
  const bool event = EventRendered() || EndReached() || StallDue();
  hold.unlock();
  if (refill) {
    queueRoom_.notify_one();
  }
  if (event) {
    eventReady_.notify_one();
  }
  return got / 2;
}

std::size_t Stream::Read(std::uint8_t* out, std::size_t max) {
  std::unique_lock<std::mutex> hold(lock_);
  dataArrived_.wait(
      hold, [this] { return stopping_ || buffer_.Size() > 0 || downloadEnded_ || AtJunction(); });
  if (stopping_ || AtJunction()) {
    return 0;  // at a junction: the end of this decoder's input
  }
  if (!junctions_.empty()) {
    max = std::min<std::size_t>(max, junctions_.front().offset - bytesRead_);
  }
  std::size_t n = buffer_.Read(out, max);
  bytesRead_ += n;
  const bool room = roomWanted_ != 0 && buffer_.Space() >= roomWanted_;
  hold.unlock();
  if (room) {
    downloadWake_.notify_one();
  }
  return n;
}

}  // namespace audio
