// One network stream: its download, decoding, the samples waiting for the output, its tags and
// syncs. Three threads of its own work on it: the download thread (connection, metadata, the
// download buffer), the decode thread (decoder, rate conversion, the sample queue) and the
// event thread (syncs when their audio reaches the output, stalls, the end). The output calls
// Render on its own thread. Each of the three parts they share has a lock of its own, and no
// part calls another while it holds it. A live stream whose connection ends is connected again
// by the download thread, when its settings allow it; the decoder starts afresh on the new
// bytes.
#pragma once

#include "audio/AudioLibrary.h"
#include "audio/Decoder.h"
#include "audio/DownloadBuffer.h"
#include "audio/EventTimeline.h"
#include "audio/Failure.h"
#include "audio/IcyDemuxer.h"
#include "audio/LiveConnection.h"
#include "audio/Mp4Fragments.h"
#include "audio/SampleQueue.h"
#include "audio/SegmentAudio.h"
#include "audio/StreamSource.h"
#include "audio/TagStore.h"
#include "platform/Mutex.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace audio {

struct StreamSettings {
  DWORD handle = 0;
  DWORD flags = 0;
  DOWNLOADPROC* downloadProc = nullptr;
  void* user = nullptr;
  long outputRate = 44100;  // for samples whose rate the output does not take as it is
  // Decode thread: the rate to put out samples that come at the given rate.
  std::function<long(long)> rateFor;
  DWORD bufferMs = 5000;        // download buffer length at the stream's bit rate
  SourceOptions sourceOptions;  // for finding the stream again after a drop
  // How long a live stream is looked for again after it dropped; 0: it ends at the drop.
  std::chrono::milliseconds reconnectBudget{0};
  std::chrono::milliseconds reconnectUnit = Backoff::kDefaultUnit;  // of the tries' schedule
  NetworkLink network = NetworkLink::Unknown;  // as the system said when the stream was made
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
  bool WaitForFormat(std::chrono::steady_clock::time_point deadline, Failure& failure)
      EXCLUDES(lock_);
  // Blocks until `percent` of the download buffer is filled or the download has ended.
  void WaitForBuffer(DWORD percent);
  // Stops every thread of the stream and waits for them, except for one that is inside a
  // callback of the program (or is the calling thread itself): that one ends on its own.
  void Stop() EXCLUDES(lock_);

  DWORD handle() const noexcept { return settings_.handle; }
  QWORD FilePosition(DWORD mode);  // (QWORD)-1 for an unknown mode
  const char* Tags(DWORD type);    // null when the stream has none of that type
  HSYNC AddSync(DWORD type, SYNCPROC* proc, void* user);
  void Play() EXCLUDES(lock_);
  // The rate the stream's samples go to the output at; 0 until the format is known.
  long rate() const noexcept { return rate_; }
  // The system's word on the network changed (see LiveConnection). Any thread.
  void NetworkChanged(NetworkLink link) { connection_.NetworkChanged(link); }

  // Output thread: mixes up to `frames` stereo frames into `mix`; returns the frames given.
  std::size_t Render(std::int32_t* mix, std::size_t frames);

 private:
  // ByteSource for the decoder (decode thread): blocks on the download buffer.
  std::size_t Read(std::uint8_t* out, std::size_t max) override;

  void DownloadThread();
  // Download thread: a plain stream's connections, one after another while it reconnects.
  void DownloadStream();
  // Download thread: an HLS playlist's segments in order, the playlist reloaded while it lives
  // (StreamHls.cpp).
  void DownloadHls();
  // Download thread: the segment's audio, after its initialisation section when that is new;
  // false when it could not be had (tried twice) or the stream stops.
  bool FetchSegment(const HlsSegment& segment, SegmentAudio& audio);
  // Download thread: a segment's audio and titles into the buffer, with a new decoder first
  // when `afresh` or its codec differs from `codec` (then updated). False once the stream stops.
  bool TakeSegment(SegmentAudio& audio, bool afresh, Codec& codec);
  // Download thread: waits until every staged byte is in the buffer; false once the stream stops.
  bool FlushAllStaged();
  // Download thread: waits until `when`; false once the stream stops.
  bool RestUntil(std::chrono::steady_clock::time_point when);
  // Download thread: runs `connection` until it ends (true) or the stream stops (false).
  bool RunConnection(Connection& connection);
  // Download thread: after the connection made at `connectedAt` dropped, tries to connect again;
  // true when a new connection runs, its bytes to follow the old ones, starting with
  // `head`.
  bool Reconnect(Backoff& backoff, Backoff::Clock::time_point connectedAt,
                 std::vector<std::uint8_t>& head);
  bool TakeBody(std::span<const std::uint8_t> bytes);  // download thread
  void FlushStaged();                                  // download thread
  void DecodeThread();
  // `pendingInput`: bytes the decoder holds that are not yet in `samples`. `events` are taken.
  void PushSamples(const std::vector<std::int16_t>& samples,
                   std::vector<EventTimeline::Event>& events, unsigned bitrate,
                   std::size_t pendingInput);
  void EventThread();

  template <typename F>
  void RunWorker(const char* name, F&& body);  // `name`: at most 15 characters
  void WorkerEnded() EXCLUDES(lock_);
  // Runs a callback of the program unless the stream is stopping.
  void CallOut(const std::function<void()>& call) EXCLUDES(lock_);
  bool Stopping() EXCLUDES(lock_);
  std::size_t BufferBytes(unsigned kbps) const;  // the download buffer's size at that rate

  // Set before the threads start, then only read.
  StreamSettings settings_;
  OpenedSource source_;  // its connection is moved into connection_
  LiveConnection connection_;
  bool live_ = false;  // no Content-Length: the stream has no end of its own
  // The response headers, kept where a reader of BASS_ChannelGetTags (a worker of the program)
  // may still hold them while the stream is freed.
  TagStore headerTags_;
  const char* headerBlock_ = "";
  bool icy_ = false;
  std::size_t metaint_ = 0;
  unsigned headerBitrate_ = 0;

  // The parts the threads share, each with its lock.
  DownloadBuffer download_;
  SampleQueue samples_;
  EventTimeline timeline_;
  std::atomic<std::uint64_t> nextSerial_{1};
  std::atomic<long> rate_{
      0};  // set once by the decode thread  // of metadata and Ogg comments, in order found

  // The stream's life: its workers, callbacks and start.
  Mutex lock_;
  Condition settled_;  // callers: format known or decoding ended, workers' end
  bool stopping_ GUARDED_BY(lock_) = false;
  int workers_ GUARDED_BY(lock_) = 0;
  int inCallback_ GUARDED_BY(lock_) = 0;
  bool formatKnown_ GUARDED_BY(lock_) = false;
  bool decodeEnded_ GUARDED_BY(lock_) = false;
  Failure failure_ GUARDED_BY(lock_) = Failure::None;

  // Download thread only.
  std::unique_ptr<IcyDemuxer> demuxer_;
  std::vector<std::uint8_t> staged_;  // demuxed audio waiting for room in the buffer
  std::uint64_t bytesDemuxed_ = 0;
  // Of an HLS stream: the same title is not announced twice; the fMP4 initialisation section
  // in force (none: segments carry their own set-up).
  std::string lastTitle_;
  std::string mapUrl_;
  std::optional<Mp4Track> track_;
  // Decode thread only.
  std::uint64_t producedFrames_ = 0;
};

}  // namespace audio
