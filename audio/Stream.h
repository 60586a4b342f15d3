// One network stream: its download, decoding, the samples waiting for the output, its tags and
// syncs. Three threads of its own work on it: the download thread (connection, metadata, the
// download buffer), the decode thread (decoder, rate conversion, the sample queue) and the
// event thread (syncs when their audio reaches the output, stalls, the end). The output calls
// Render on its own thread. A live stream whose connection ends is connected again by the
// download thread, when its settings allow it; the decoder starts afresh on the new bytes.
#pragma once

#include "audio/AudioLibrary.h"
#include "audio/Decoder.h"
#include "audio/Failure.h"
#include "audio/IcyDemuxer.h"
#include "audio/LiveConnection.h"
#include "audio/Ring.h"
#include "audio/StreamSource.h"
#include "audio/TagStore.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace audio {

struct StreamSettings {
  DWORD handle = 0;
  DWORD flags = 0;
  DOWNLOADPROC* downloadProc = nullptr;
  void* user = nullptr;
  long outputRate = 44100;
  DWORD bufferMs = 5000;        // download buffer length at the stream's bit rate
  SourceOptions sourceOptions;  // for finding the stream again after a drop
  // How long a live stream is looked for again after it dropped; 0: it ends at the drop.
  std::chrono::milliseconds reconnectBudget{0};
  // Called on the event thread once the stream has ended, for auto-free.
  std::function<void(DWORD)> onAutoFree;
};

class Stream : public std::enable_shared_from_this<Stream>, private ByteSource {
 public:
  Stream(StreamSettings settings, OpenedSource source);
  ~Stream() override;

  // Starts the three threads. Call once, right after construction.
  void Start();
  // Blocks until the format is known (true) or the stream failed or `deadline` passed (false,
  // with `failure`).
  bool WaitForFormat(std::chrono::steady_clock::time_point deadline, Failure& failure);
  // Blocks until `percent` of the download buffer is filled or the download has ended.
  void WaitForBuffer(DWORD percent);
  // Stops every thread of the stream and waits for them, except for one that is inside a
  // callback of the program (or is the calling thread itself): that one ends on its own.
  void Stop();

  DWORD handle() const noexcept { return settings_.handle; }
  QWORD FilePosition(DWORD mode);  // (QWORD)-1 for an unknown mode
  const char* Tags(DWORD type);    // null when the stream has none of that type
  HSYNC AddSync(DWORD type, SYNCPROC* proc, void* user);
  void Play();

  // Output thread: mixes up to `frames` stereo frames into `mix`; returns the frames given.
  std::size_t Render(std::int32_t* mix, std::size_t frames);

 private:
  struct MetaAtByte {  // metadata found at this offset of the audio bytes
    std::uint64_t offset;
    std::string text;
    std::uint64_t serial;
  };
  enum class EventKind { Meta, OggChange };
  struct Event {  // due when this many frames have been played
    std::uint64_t frame;
    EventKind kind;
    std::string text;
    std::uint64_t serial;
  };
  struct Junction {  // the bytes from here on came over a new connection
    std::uint64_t offset;
    Codec codec;
  };
  struct Sync {
    HSYNC handle;
    DWORD type;
    SYNCPROC* proc;
    void* user;
  };

  // ByteSource for the decoder (decode thread): blocks on the download buffer.
  std::size_t Read(std::uint8_t* out, std::size_t max) override;

  void DownloadThread();
  // Download thread: runs `connection` until it ends (true) or the stream stops (false).
  bool RunConnection(Connection& connection);
  // Download thread: after the connection made at `connectedAt` dropped, the tries to connect
  // again; true when a new connection runs, its bytes to follow the old ones, starting with
  // `head`.
  bool Reconnect(Backoff& backoff, Backoff::Clock::time_point connectedAt,
                 std::vector<std::uint8_t>& head);
  bool TakeBody(std::span<const std::uint8_t> bytes);  // download thread
  void FlushStaged();                                  // download thread
  // Download thread: waits for room for `bytes` (up to half the buffer); false once the stream
  // is stopping or its decoding has ended.
  bool WaitForRoom(std::size_t bytes);
  // Download thread: waits for `time`; false once the stream is stopping or its decoding ended.
  bool Rest(std::chrono::milliseconds time);
  void DecodeThread();
  // Decode thread, once its decoder has ended: true (with the codec of the new bytes) when the
  // input goes on over a new connection.
  bool NextConnection(Codec& codec);
  bool AtJunction() const;  // lock held: the decoder has read every byte of the old connection
  // Lock held: the bytes waiting to be heard. Until the stream plays, what the decoder has taken
  // in counts too: decoding ahead must not make the buffer look emptier than the download made
  // it, or a server's burst would no longer be enough to start.
  std::size_t BufferedBytes() const;
  // `pendingInput`: bytes the decoder holds that are not yet in `samples`.
  void PushSamples(const std::vector<std::int16_t>& samples, std::vector<Event>& events,
                   unsigned bitrate, std::size_t pendingInput);
  void EventThread();
  // Lock held, all of them. An event or the end is due when its frame is heard: the output
  // takes a whole period at a time, and frame F of the period that began with frame P at time
  // T is heard at T + (F - P) / rate, so the period's length does not delay or advance it.
  std::chrono::steady_clock::time_point HeardAt(std::uint64_t frame) const;
  bool EventRendered() const;  // the next event's frame has gone to the output
  bool EventDue(std::chrono::steady_clock::time_point now) const;
  bool EndReached() const;  // everything downloaded has gone to the output
  bool EndDue(std::chrono::steady_clock::time_point now) const;
  bool StallDue() const;  // the program has not been told of a stall or its end
  // When the next rendered event or the end will be heard; max() when neither waits.
  std::chrono::steady_clock::time_point NextHeard() const;
  // Room in the sample queue at which the output wakes the decoder to refill in one go: more
  // than the decoder ever waits for (a quarter of the queue), so it cannot miss that wake-up.
  // Lock held.
  std::size_t RefillMark() const { return samples_.Capacity() / 2; }
  void FireSyncs(std::unique_lock<std::mutex>& hold, DWORD type, DWORD data = 0);
  // The text of the current event of that kind, else of the first one still to come.
  const char* CurrentOrNext(EventKind kind);  // lock held

  template <typename F>
  void RunWorker(const char* name, F&& body);  // `name`: at most 15 characters
  // Runs a callback of the program unless the stream is stopping. Call with `hold` locked.
  void CallOut(std::unique_lock<std::mutex>& hold, const std::function<void()>& call);
  void ResizeBuffer(unsigned kbps);  // lock held

  StreamSettings settings_;
  OpenedSource source_;  // its connection is moved into connection_
  LiveConnection connection_;
  bool live_ = false;  // no Content-Length: the stream has no end of its own
  std::string headerBlock_;
  bool icy_ = false;
  std::size_t metaint_ = 0;
  unsigned headerBitrate_ = 0;

  std::mutex lock_;
  // One condition per kind of waiter, notified only when what it waits for can have come true:
  // each wake-up costs CPU while a stream plays.
  std::condition_variable dataArrived_;   // decode thread: the download buffer has bytes
  std::condition_variable queueRoom_;     // decode thread: room in the sample queue
  std::condition_variable downloadWake_;  // download thread: room in the download buffer
  std::condition_variable eventReady_;    // event thread: an event is due or the end reached
  std::condition_variable settled_;       // callers: format, buffer fill, workers' end
  bool stopping_ = false;
  int workers_ = 0;
  int inCallback_ = 0;

  // Download (download thread writes, decode thread reads).
  Ring<std::uint8_t> buffer_;
  std::uint64_t bytesWritten_ = 0;
  std::uint64_t bytesRead_ = 0;
  bool connected_ = true;
  bool downloadEnded_ = false;
  std::deque<MetaAtByte> metaByByte_;
  std::deque<Junction> junctions_;
  std::size_t roomWanted_ = 0;  // room the download thread waits for; 0 while it does not
  // Download thread only.
  std::unique_ptr<IcyDemuxer> demuxer_;
  std::vector<std::uint8_t> staged_;  // demuxed audio waiting for room in the buffer
  std::uint64_t bytesDemuxed_ = 0;

  // Decoding and samples (decode thread writes, output reads).
  bool formatKnown_ = false;
  Failure failure_ = Failure::None;
  bool decodeEnded_ = false;
  Ring<std::int16_t> samples_;
  std::uint64_t framesQueued_ = 0;
  std::uint64_t framesPlayed_ = 0;
  // The period the output took last: its first frame, and when it began to be heard.
  std::uint64_t periodFirstFrame_ = 0;
  std::chrono::steady_clock::time_point periodStart_;
  bool playing_ = false;
  bool stalled_ = false;
  bool stallAnnounced_ = false;              // what the stall syncs last said
  std::vector<std::int16_t> renderScratch_;  // output thread only

  // Events and tags. A sync is not called for an event whose text the program has already
  // been given (the one about to play when it asked).
  std::deque<Event> timeline_;
  std::uint64_t nextSerial_ = 1;
  std::uint64_t producedFrames_ = 0;  // decode thread only
  TagStore tagTexts_;
  Event current_[2] = {};            // by EventKind; serial 0: none yet
  std::uint64_t announced_[2] = {};  // serial of the text last handed out, by EventKind
  const char* kept_[2] = {};         // the text last handed out, by EventKind
  bool ended_ = false;
  std::vector<Sync> syncs_;
};

}  // namespace audio
