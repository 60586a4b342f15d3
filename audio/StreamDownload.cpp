// The download thread: runs the connection, takes the metadata out, fills the download buffer,
// and pauses the connection while the buffer is full.
#include "audio/Stream.h"

#include <algorithm>

namespace audio {

namespace {

constexpr std::chrono::milliseconds kRunningPoll{200};
// While the stream plays, the buffer holds plenty and the server's burst has all come in, the
// connection is served this often instead of on every packet (a live stream sends a dozen a
// second): the socket gathers a few dozen packets meanwhile, and a decoder that takes the buffer
// low, or the server closing the connection, ends the wait early. Until the stream plays, every
// packet is taken as it comes: the program waits for the buffer to fill before it starts.
constexpr std::chrono::milliseconds kGatherPace{4000};

}  // namespace

void Stream::DownloadThread() {
  if (source_.hls) {
    DownloadHls();
  } else {
    DownloadStream();
  }
  download_.SetConnected(false);
  // What was downloaded still goes to the decoder, as room frees up.
  while (!staged_.empty() && download_.WaitForRoom(staged_.size())) {
    FlushStaged();
  }
  download_.EndDownload();
  timeline_.DownloadEnded();
  if (settings_.downloadProc != nullptr) {
    CallOut([this] { settings_.downloadProc(nullptr, 0, settings_.user); });
  }
}

void Stream::DownloadStream() {
  Backoff backoff(settings_.reconnectBudget, settings_.reconnectUnit);
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
      return;
    }
  }
}

bool Stream::RunConnection(Connection& connection) {
  for (;;) {
    FlushStaged();
    if (download_.Closed()) {
      return false;
    }
    if (!staged_.empty()) {
      // Nothing to do until the decoder makes room; the connection needs no care meanwhile.
      if (!download_.WaitForRoom(staged_.size())) {
        return false;
      }
      continue;
    }
    connection.Resume();
    // Everything the server has sent so far, then a wait: a long rest while the buffer holds
    // plenty, else until the next packet.
    if (!connection.Pump(std::chrono::milliseconds(0))) {
      return true;
    }
    if (connection.MoreWaiting() || !staged_.empty()) {
      continue;
    }
    if (!download_.CanGather()) {
      connection.WaitForMore(kRunningPoll);
    } else if (!download_.Gather(kGatherPace, connection.Socket())) {
      return false;
    }
  }
}

bool Stream::Reconnect(Backoff& backoff, Backoff::Clock::time_point connectedAt,
                       std::vector<std::uint8_t>& head) {
  backoff.Dropped(connectedAt, Backoff::Clock::now());
  download_.SetConnected(false);
  timeline_.ConnectionLost();
  // The old connection's last bytes go first, so the decoder can play them meanwhile.
  if (!FlushAllStaged()) {
    return false;
  }
  OpenedSource found;
  if (!connection_.Reconnect(backoff, found)) {
    return false;
  }
  head = std::move(found.head);
  demuxer_ = std::make_unique<IcyDemuxer>(connection_.Current().Headers().Metaint());
  return download_.AddJunction(found.codec);
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
  for (auto& [at, text] : texts) {
    download_.AddMeta({bytesDemuxed_ + at, std::move(text), nextSerial_++});
  }
  bytesDemuxed_ += staged_.size();
  if (settings_.downloadProc != nullptr && !staged_.empty()) {
    CallOut([&] {
      settings_.downloadProc(staged_.data(), static_cast<DWORD>(staged_.size()), settings_.user);
    });
  }
  FlushStaged();
  return true;
}

bool Stream::FlushAllStaged() {
  while (!staged_.empty()) {
    if (!download_.WaitForRoom(staged_.size())) {
      return false;
    }
    FlushStaged();
  }
  return true;
}

void Stream::FlushStaged() {
  if (staged_.empty()) {
    return;
  }
  const std::size_t n = download_.Write(staged_);
  staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace audio
