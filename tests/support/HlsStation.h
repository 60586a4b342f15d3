// A live HLS station on the fixture server: segments of a 440 Hz AAC tone (1 second long unless
// told otherwise; made once by ffmpeg), served as MPEG-TS with an ID3 metadata stream, as packed
// audio headed by an ID3 tag, or as fragmented MP4 with an ID3 `emsg` box, every segment titled;
// its media playlist slides one segment a segment's time like a live encoder's, or is published as
// the test wants it (a jump, an end, a key, a missing segment).
#pragma once

#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace fixture {

enum class SegmentKind { TransportStream, PackedAudio, FragmentedMp4 };

class HlsStation {
 public:
  static constexpr int kSegmentsPerTitle = 4;

  // Serves its playlist at `playlistPath`, its segments beside it, each `segmentSeconds` long
  // (the playlist's target duration).
  HlsStation(HttpFixture& server, std::string playlistPath, SegmentKind kind,
             int segmentSeconds = 1);
  ~HlsStation();
  HlsStation(const HlsStation&) = delete;
  HlsStation& operator=(const HlsStation&) = delete;

  struct Window {
    std::uint64_t first = 0;  // media sequence of the first segment
    int count = 6;
    bool ended = false;
    bool encrypted = false;
    std::string type = "application/vnd.apple.mpegurl";  // of the playlist
  };
  // Serves a playlist of these segments now.
  void Publish(const Window& window);
  // From `window` on, one segment more (and one fewer at the front) every segment's time, until
  // Stop().
  void Slide(const Window& window);
  // Ends the sliding; the playlist stays as it was last published.
  void Stop();
  // The segment of this media sequence answers 404.
  void Missing(std::uint64_t sequence);
  // The playlist answers 503 until it is published again (sliding goes on meanwhile unseen).
  void Silence();
  void Speak();

  std::string SegmentPath(std::uint64_t sequence) const;
  // The title its ID3 metadata gives, as the META tag then reads.
  static std::string StreamTitle(std::uint64_t sequence);

 private:
  std::string SegmentFile(std::uint64_t sequence);  // made on first use
  void PublishLocked(const Window& window);

  HttpFixture& server_;
  std::string playlistPath_;
  std::string segmentPrefix_;
  SegmentKind kind_;
  int segmentSeconds_;
  TempDir dir_;
  std::mutex lock_;
  Window window_;
  bool silent_ = false;
  std::set<std::uint64_t> missing_;
  std::atomic<bool> sliding_{false};
  std::thread slider_;
};

}  // namespace fixture
