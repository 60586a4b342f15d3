#include "audio/DownloadBuffer.h"

#include <algorithm>

namespace audio {

namespace {

// Metadata texts waiting for their audio to be decoded; more are dropped (oldest first).
constexpr std::size_t kMaxPendingMetadata = 64;

}  // namespace

void DownloadBuffer::SetCapacity(std::size_t bytes) {
  {
    MutexLock hold(lock_);
    bytes_.SetCapacity(bytes);
  }
  roomMade_.NotifyOne();
}

std::size_t DownloadBuffer::Write(std::span<const std::uint8_t> bytes) {
  std::size_t n = 0;
  bool wasEmpty = false;
  {
    MutexLock hold(lock_);
    wasEmpty = bytes_.Size() == 0;
    n = bytes_.Write(bytes.data(), bytes.size());
    written_ += n;
  }
  if (n > 0) {
    // The decoder waits only on an empty buffer.
    if (wasEmpty) {
      dataArrived_.NotifyOne();
    }
    filled_.NotifyAll();
  }
  return n;
}

bool DownloadBuffer::WaitForRoom(std::size_t bytes) {
  MutexLock hold(lock_);
  roomWanted_ = std::min(bytes, bytes_.Capacity() / 2);
  while (!closed_ && bytes_.Space() < roomWanted_) {
    roomMade_.Wait(lock_);
  }
  roomWanted_ = 0;
  return !closed_;
}

bool DownloadBuffer::Rest(std::chrono::milliseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  MutexLock hold(lock_);
  while (!closed_ && roomMade_.WaitUntil(lock_, until)) {
  }
  return !closed_;
}

bool DownloadBuffer::HalfFull() {
  MutexLock hold(lock_);
  return bytes_.Size() >= bytes_.Capacity() / 2;
}

void DownloadBuffer::AddMeta(MetaAtByte meta) {
  MutexLock hold(lock_);
  if (meta_.size() == kMaxPendingMetadata) {
    meta_.pop_front();
  }
  meta_.push_back(std::move(meta));
}

bool DownloadBuffer::AddJunction(Codec codec) {
  MutexLock hold(lock_);
  if (closed_) {
    return false;
  }
  connected_ = true;
  junctions_.push_back({written_, codec});
  return true;
}

void DownloadBuffer::SetConnected(bool connected) {
  MutexLock hold(lock_);
  connected_ = connected;
}

void DownloadBuffer::EndDownload() {
  {
    MutexLock hold(lock_);
    downloadEnded_ = true;
  }
  dataArrived_.NotifyOne();
  filled_.NotifyAll();
}

bool DownloadBuffer::AtJunction() const {
  return !junctions_.empty() && junctions_.front().offset == read_;
}

std::size_t DownloadBuffer::Read(std::uint8_t* out, std::size_t max) {
  std::size_t n = 0;
  bool room = false;
  {
    MutexLock hold(lock_);
    while (!closed_ && bytes_.Size() == 0 && !downloadEnded_ && !AtJunction()) {
      dataArrived_.Wait(lock_);
    }
    if (closed_ || AtJunction()) {
      return 0;  // at a junction: the end of this decoder's input
    }
    if (!junctions_.empty()) {
      max = std::min<std::size_t>(max, junctions_.front().offset - read_);
    }
    n = bytes_.Read(out, max);
    read_ += n;
    room = roomWanted_ != 0 && bytes_.Space() >= roomWanted_;
  }
  if (room) {
    roomMade_.NotifyOne();
  }
  return n;
}

bool DownloadBuffer::NextConnection(Codec& codec) {
  MutexLock hold(lock_);
  if (closed_ || !AtJunction()) {
    return false;
  }
  codec = junctions_.front().codec;
  junctions_.pop_front();
  return true;
}

std::vector<DownloadBuffer::MetaAtByte> DownloadBuffer::TakeDecodedMeta(std::size_t pendingInput) {
  std::vector<MetaAtByte> decoded;
  MutexLock hold(lock_);
  const std::uint64_t decodedBytes = read_ - std::min<std::uint64_t>(pendingInput, read_);
  while (!meta_.empty() && meta_.front().offset <= decodedBytes) {
    decoded.push_back(std::move(meta_.front()));
    meta_.pop_front();
  }
  return decoded;
}

void DownloadBuffer::StartPlaying() {
  MutexLock hold(lock_);
  playing_ = true;
}

std::size_t DownloadBuffer::Buffered() const {
  const std::uint64_t decodedAhead = playing_ ? 0 : read_;
  return static_cast<std::size_t>(
      std::min<std::uint64_t>(bytes_.Size() + decodedAhead, bytes_.Capacity()));
}

void DownloadBuffer::WaitForFill(unsigned percent) {
  percent = std::min(percent, 100u);
  MutexLock hold(lock_);
  while (!closed_ && !downloadEnded_ && Buffered() * 100 < bytes_.Capacity() * percent) {
    filled_.Wait(lock_);
  }
}

void DownloadBuffer::Close() {
  {
    MutexLock hold(lock_);
    closed_ = true;
  }
  dataArrived_.NotifyAll();
  roomMade_.NotifyAll();
  filled_.NotifyAll();
}

bool DownloadBuffer::Closed() {
  MutexLock hold(lock_);
  return closed_;
}

DownloadBuffer::Levels DownloadBuffer::Current() {
  MutexLock hold(lock_);
  return {read_, written_, bytes_.Capacity(), Buffered(), connected_};
}

std::optional<DownloadBuffer::MetaAtByte> DownloadBuffer::FirstPendingMeta() {
  MutexLock hold(lock_);
  if (meta_.empty()) {
    return std::nullopt;
  }
  return meta_.front();
}

}  // namespace audio
