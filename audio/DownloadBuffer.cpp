#include "audio/DownloadBuffer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

namespace audio {

namespace {

// Metadata texts waiting for their audio to be decoded; more are dropped (oldest first).
constexpr std::size_t kMaxPendingMetadata = 64;

}  // namespace

DownloadBuffer::DownloadBuffer() : gatherAlarm_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

DownloadBuffer::~DownloadBuffer() {
  if (gatherAlarm_ >= 0) {
    close(gatherAlarm_);
  }
}

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

bool DownloadBuffer::Gather(std::chrono::milliseconds time, int socket) {
  {
    MutexLock hold(lock_);
    if (closed_ || gatherAlarm_ < 0 || bytes_.Size() < LowMark()) {
      return !closed_;
    }
    gathering_ = true;
    gatherSocket_ = socket;
  }
  // POLLRDHUP alone: the server's data waits in the socket, its closing ends the wait at once.
  pollfd watched[] = {{gatherAlarm_, POLLIN, 0}, {socket, POLLRDHUP, 0}};
  poll(watched, socket >= 0 ? 2 : 1, static_cast<int>(time.count()));
  MutexLock hold(lock_);
  gathering_ = false;
  gatherSocket_ = -1;
  std::uint64_t alarms = 0;
  [[maybe_unused]] const ssize_t drained = read(gatherAlarm_, &alarms, sizeof alarms);
  return !closed_;
}

void DownloadBuffer::EndGathering() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(gatherAlarm_, &one, sizeof one);
}

bool DownloadBuffer::CanGather() {
  MutexLock hold(lock_);
  return playing_ && gatherAlarm_ >= 0 && bytes_.Size() >= LowMark();
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
  bool endGathering = false;
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
    const bool aboveLowMark = bytes_.Size() >= LowMark();
    n = bytes_.Read(out, max);
    read_ += n;
    room = roomWanted_ != 0 && bytes_.Space() >= roomWanted_;
    // The download takes in what has gathered before the decoder runs dry.
    endGathering = gathering_ && aboveLowMark && bytes_.Size() < LowMark();
  }
  if (endGathering) {
    EndGathering();
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
  if (gatherAlarm_ >= 0) {
    EndGathering();
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
  // What has gathered in the socket is as much ahead of the listener as the buffer's bytes.
  int inSocket = 0;
  if (gatherSocket_ < 0 || ioctl(gatherSocket_, FIONREAD, &inSocket) != 0) {
    inSocket = 0;
  }
  const std::size_t buffered =
      std::min(Buffered() + static_cast<std::size_t>(inSocket), bytes_.Capacity());
  return {read_, written_, bytes_.Capacity(), buffered, connected_};
}

std::optional<DownloadBuffer::MetaAtByte> DownloadBuffer::FirstPendingMeta() {
  MutexLock hold(lock_);
  if (meta_.empty()) {
    return std::nullopt;
  }
  return meta_.front();
}

}  // namespace audio
