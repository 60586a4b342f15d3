// The download thread: runs the connection, takes the metadata out, fills the download buffer,
// and pauses the connection while the buffer is full.
#include "audio/Stream.h"

#include <algorithm>

namespace audio {

namespace {

constexpr std::chrono::milliseconds kRunningPoll{200};
// Metadata texts waiting for their audio to be decoded; more are dropped (oldest first).
constexpr std::size_t kMaxPendingMetadata = 64;

}  // namespace

void Stream::DownloadThread() {
  Connection& connection = *source_.connection;
  connection.SetBodySink([this](std::span<const std::uint8_t> bytes) { return TakeBody(bytes); });
  std::vector<std::uint8_t> head = std::move(source_.head);
  if (!head.empty()) {
    TakeBody(head);
  }
  for (;;) {
    FlushStaged();
    {
      std::lock_guard<std::mutex> hold(lock_);
      if (stopping_ || decodeEnded_) {
        break;
      }
    }
    if (connection.Paused() && staged_.empty()) {
      connection.Resume();
    }
    if (connection.Paused()) {
      // Nothing to do until the decoder makes room; the connection needs no care meanwhile.
      std::unique_lock<std::mutex> hold(lock_);
      changed_.wait_for(hold, kRunningPoll, [this] {
        return stopping_ || decodeEnded_ ||
               buffer_.Space() >= std::min(staged_.size(), buffer_.Capacity() / 2);
      });
      continue;
    }
    if (!connection.Pump(kRunningPoll)) {
      break;
    }
  }
  std::unique_lock<std::mutex> hold(lock_);
  connected_ = false;
  // What was downloaded still goes to the decoder, as room frees up.
  while (!staged_.empty() && !stopping_ && !decodeEnded_) {
    hold.unlock();
    FlushStaged();
    hold.lock();
    changed_.wait_for(hold, kRunningPoll, [this] { return stopping_ || buffer_.Space() > 0; });
  }
  downloadEnded_ = true;
  changed_.notify_all();
  if (settings_.downloadProc != nullptr) {
    CallOut(hold, [this] { settings_.downloadProc(nullptr, 0, settings_.user); });
  }
}

bool Stream::TakeBody(std::span<const std::uint8_t> bytes) {
  if (!staged_.empty()) {
    FlushStaged();
    if (!staged_.empty()) {
      return false;
    }
  }
  IcyDemuxer::Output out = demuxer_->Feed(bytes);
  std::unique_lock<std::mutex> hold(lock_);
  for (auto& [at, text] : out.metadata) {
    if (metaByByte_.size() == kMaxPendingMetadata) {
      metaByByte_.pop_front();
    }
    metaByByte_.push_back({bytesDemuxed_ + at, std::move(text), nextSerial_++});
  }
  bytesDemuxed_ += out.audio.size();
  if (settings_.downloadProc != nullptr && !out.audio.empty()) {
    CallOut(hold, [&] {
      settings_.downloadProc(out.audio.data(), static_cast<DWORD>(out.audio.size()),
                             settings_.user);
    });
  }
  hold.unlock();
  staged_ = std::move(out.audio);
  FlushStaged();
  return true;
}

void Stream::FlushStaged() {
  if (staged_.empty()) {
    return;
  }
  std::size_t n = 0;
  {
    std::lock_guard<std::mutex> hold(lock_);
    n = buffer_.Write(staged_.data(), staged_.size());
    bytesWritten_ += n;
  }
  if (n > 0) {
    changed_.notify_all();
    staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(n));
  }
}

}  // namespace audio
