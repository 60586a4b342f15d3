// The download thread: runs the connection, takes the metadata out, fills the download buffer,
// and pauses the connection while the buffer is full.
#include "audio/Stream.h"

#include <algorithm>

namespace audio {

namespace {

constexpr std::chrono::milliseconds kRunningPoll{200};
// While the buffer holds plenty and the server's burst has all come in, the connection is served
// this often instead of on every packet (a live stream sends a dozen a second): several packets
// per wake-up, and the buffer covers the wait many times over. A burst is taken in at once: the
// program waits for it to start playing.
constexpr std::chrono::milliseconds kPlentyPace{500};
// Metadata texts waiting for their audio to be decoded; more are dropped (oldest first).
constexpr std::size_t kMaxPendingMetadata = 64;

}  // namespace

void Stream::DownloadThread() {
  Backoff backoff(settings_.reconnectBudget);
  std::vector<std::uint8_t> head = std::move(source_.head);
  for (;;) {
    const Backoff::Clock::time_point connectedAt = Backoff::Clock::now();
    Connection& connection = connection_.Current();
    connection.SetBodySink([this](std::span<const std::uint8_t> bytes) { return TakeBody(bytes); });
    if (!head.empty()) {
      TakeBody(head);
    }
    if (!RunConnection(connection) || !live_ || settings_.reconnectBudget.count() <= 0 ||
        !Reconnect(backoff, connectedAt, head)) {
      break;
    }
  }
  {
    std::lock_guard<std::mutex> hold(lock_);
    connected_ = false;
  }
  // What was downloaded still goes to the decoder, as room frees up.
  while (!staged_.empty() && WaitForRoom(staged_.size())) {
    FlushStaged();
  }
  std::unique_lock<std::mutex> hold(lock_);
  downloadEnded_ = true;
  dataArrived_.notify_one();
  eventReady_.notify_one();
  settled_.notify_all();
  if (settings_.downloadProc != nullptr) {
    CallOut(hold, [this] { settings_.downloadProc(nullptr, 0, settings_.user); });
  }
}

bool Stream::RunConnection(Connection& connection) {
  for (;;) {
    FlushStaged();
    bool plenty = false;
    {
      std::lock_guard<std::mutex> hold(lock_);
      if (stopping_ || decodeEnded_) {
        return false;
      }
      plenty = buffer_.Size() >= buffer_.Capacity() / 2;
    }
    if (connection.Paused() && staged_.empty()) {
      connection.Resume();
    }
    if (connection.Paused()) {
      // Nothing to do until the decoder makes room; the connection needs no care meanwhile.
      if (!WaitForRoom(staged_.size())) {
        return false;
      }
      continue;
    }
    if (!connection.Pump(plenty ? std::chrono::milliseconds(0) : kRunningPoll)) {
      return true;
    }
    if (plenty && !connection.MoreWaiting() && !Rest(kPlentyPace)) {
      return false;
    }
  }
}

bool Stream::Reconnect(Backoff& backoff, Backoff::Clock::time_point connectedAt,
                       std::vector<std::uint8_t>& head) {
  backoff.Dropped(connectedAt, Backoff::Clock::now());
  {
    std::lock_guard<std::mutex> hold(lock_);
    connected_ = false;
    if (stalled_ && stallAnnounced_) {
      // Silent already (the server had stopped sending): the stall is told again, now that the
      // connection is gone.
      stallAnnounced_ = false;
      eventReady_.notify_one();
    }
  }
  // The old connection's last bytes go first, so the decoder can play them meanwhile.
  while (!staged_.empty()) {
    if (!WaitForRoom(staged_.size())) {
      return false;
    }
    FlushStaged();
  }
  OpenedSource found;
  if (!connection_.Reconnect(backoff, found)) {
    return false;
  }
  head = std::move(found.head);
  demuxer_ = std::make_unique<IcyDemuxer>(connection_.Current().Headers().Metaint());
  std::lock_guard<std::mutex> hold(lock_);
  if (stopping_ || decodeEnded_) {
    return false;
  }
  connected_ = true;
  junctions_.push_back({bytesWritten_, found.codec});
  return true;
}

bool Stream::TakeBody(std::span<const std::uint8_t> bytes) {
  if (!staged_.empty()) {
    FlushStaged();
    if (!staged_.empty()) {
      return false;
    }
  }
  staged_.assign(bytes.begin(), bytes.end());  // its room is kept from read to read
  IcyDemuxer::Texts texts = demuxer_->TakeOut(staged_);
  std::unique_lock<std::mutex> hold(lock_);
  for (auto& [at, text] : texts) {
    if (metaByByte_.size() == kMaxPendingMetadata) {
      metaByByte_.pop_front();
    }
    metaByByte_.push_back({bytesDemuxed_ + at, std::move(text), nextSerial_++});
  }
  bytesDemuxed_ += staged_.size();
  if (settings_.downloadProc != nullptr && !staged_.empty()) {
    CallOut(hold, [&] {
      settings_.downloadProc(staged_.data(), static_cast<DWORD>(staged_.size()), settings_.user);
    });
  }
  hold.unlock();
  FlushStaged();
  return true;
}

bool Stream::WaitForRoom(std::size_t bytes) {
  std::unique_lock<std::mutex> hold(lock_);
  roomWanted_ = std::min(bytes, buffer_.Capacity() / 2);
  downloadWake_.wait(
      hold, [this] { return stopping_ || decodeEnded_ || buffer_.Space() >= roomWanted_; });
  roomWanted_ = 0;
  return !stopping_ && !decodeEnded_;
}

bool Stream::Rest(std::chrono::milliseconds time) {
  std::unique_lock<std::mutex> hold(lock_);
  downloadWake_.wait_for(hold, time, [this] { return stopping_ || decodeEnded_; });
  return !stopping_ && !decodeEnded_;
}

void Stream::FlushStaged() {
  if (staged_.empty()) {
    return;
  }
  std::size_t n = 0;
  bool wasEmpty = false;
  {
    std::lock_guard<std::mutex> hold(lock_);
    wasEmpty = buffer_.Size() == 0;
    n = buffer_.Write(staged_.data(), staged_.size());
    bytesWritten_ += n;
  }
  if (n > 0) {
    // The decoder waits only on an empty buffer; callers may wait for a fill level.
    if (wasEmpty) {
      dataArrived_.notify_one();
    }
    settled_.notify_all();
    staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(n));
  }
}

}  // namespace audio
