// The downloaded audio bytes on their way to the decoder, with the metadata found between them
// and the points where the bytes of a new connection begin. The download thread writes, the
// decode thread reads; each waits for the other only while the buffer is full or empty.
#pragma once

#include "audio/Decoder.h"
#include "audio/Ring.h"
#include "platform/Mutex.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace audio {

class DownloadBuffer {
 public:
  struct MetaAtByte {  // metadata found at this offset of the audio bytes
    std::uint64_t offset;
    std::string text;
    std::uint64_t serial;
  };
  struct Levels {
    std::uint64_t read;     // bytes handed to the decoder
    std::uint64_t written;  // bytes downloaded
    std::size_t capacity;
    std::size_t buffered;  // see Buffered()
    bool connected;
  };

  DownloadBuffer();
  ~DownloadBuffer();
  DownloadBuffer(const DownloadBuffer&) = delete;
  DownloadBuffer& operator=(const DownloadBuffer&) = delete;

  void SetCapacity(std::size_t bytes) EXCLUDES(lock_);

  // Download thread.
  std::size_t Write(std::span<const std::uint8_t> bytes) EXCLUDES(lock_);  // what fitted
  // Waits for room for `bytes` (up to half the buffer); false once closed.
  bool WaitForRoom(std::size_t bytes) EXCLUDES(lock_);
  bool Rest(std::chrono::milliseconds time) EXCLUDES(lock_);  // false once closed
  // Lets the connection on `socket` gather: waits for `time`, until the decoder takes the buffer
  // below its low mark, or until the server closes the socket (-1: none), whose data does not
  // end the wait. False once closed.
  bool Gather(std::chrono::milliseconds time, int socket) EXCLUDES(lock_);
  // The stream plays and the buffer holds more than its low mark: the connection may be left to
  // gather bytes for a while.
  bool CanGather() EXCLUDES(lock_);
  void AddMeta(MetaAtByte meta) EXCLUDES(lock_);
  // The bytes from here on come over a new connection, in `codec`; false once closed.
  bool AddJunction(Codec codec) EXCLUDES(lock_);
  void SetConnected(bool connected) EXCLUDES(lock_);
  void EndDownload() EXCLUDES(lock_);

  // Decode thread.
  // Blocks until there are bytes; 0 at the end of the download, at a junction, or once closed.
  std::size_t Read(std::uint8_t* out, std::size_t max) EXCLUDES(lock_);
  // Once Read gave 0: true, with the codec of the new bytes, when the input goes on over a new
  // connection.
  bool NextConnection(Codec& codec) EXCLUDES(lock_);
  // The metadata whose bytes have been decoded, when the decoder holds `pendingInput` bytes it
  // has read but not yet decoded.
  std::vector<MetaAtByte> TakeDecodedMeta(std::size_t pendingInput) EXCLUDES(lock_);

  // Any thread.
  void StartPlaying() EXCLUDES(lock_);
  // Blocks until `percent` of the buffer is filled, the download has ended, or it is closed.
  void WaitForFill(unsigned percent) EXCLUDES(lock_);
  // The stream stops or its decoding ended: every wait ends, and the download with it.
  void Close() EXCLUDES(lock_);
  bool Closed() EXCLUDES(lock_);
  Levels Current() EXCLUDES(lock_);
  std::optional<MetaAtByte> FirstPendingMeta() EXCLUDES(lock_);

 private:
  struct Junction {
    std::uint64_t offset;
    Codec codec;
  };

  // A sixteenth of the buffer (about 0.3 s of audio): below it, the download takes every packet
  // as it comes.
  std::size_t LowMark() const REQUIRES(lock_) { return bytes_.Capacity() / 16; }
  bool AtJunction() const REQUIRES(lock_);  // the decoder has every byte of the old connection
  // The bytes waiting to be heard. Until the stream plays, what the decoder has taken in counts
  // too: decoding ahead must not make the buffer look emptier than the download made it, or a
  // server's burst would no longer be enough to start.
  std::size_t Buffered() const REQUIRES(lock_);
  void EndGathering();  // a Gather in progress, or the next one, ends at once

  Mutex lock_;
  Condition dataArrived_;  // decode thread: the buffer has bytes
  Condition roomMade_;     // download thread: room in the buffer, or closed
  Condition filled_;       // callers of WaitForFill
  // An eventfd that ends a Gather; -1 when there is none (no gathering then).
  const int gatherAlarm_;
  bool gathering_ GUARDED_BY(lock_) = false;
  int gatherSocket_ GUARDED_BY(lock_) = -1;  // the socket a Gather in progress watches
  Ring<std::uint8_t> bytes_ GUARDED_BY(lock_);
  std::uint64_t written_ GUARDED_BY(lock_) = 0;
  std::uint64_t read_ GUARDED_BY(lock_) = 0;
  std::size_t roomWanted_ GUARDED_BY(lock_) = 0;  // 0 while the download thread does not wait
  bool connected_ GUARDED_BY(lock_) = true;
  bool downloadEnded_ GUARDED_BY(lock_) = false;
  bool closed_ GUARDED_BY(lock_) = false;
  bool playing_ GUARDED_BY(lock_) = false;
  std::deque<MetaAtByte> meta_ GUARDED_BY(lock_);
  std::deque<Junction> junctions_ GUARDED_BY(lock_);
};

}  // namespace audio
