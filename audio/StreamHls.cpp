// The download thread of an HLS stream: the segments of the media playlist are fetched one by
// one, taken out of their container, and written to the download buffer with their titles, as
// the bytes of one connection would be; a live playlist is reloaded as it grows. A reload that
// fails is tried again on the reconnect backoff, while the buffer plays on.
#include "audio/HlsSchedule.h"
#include "audio/Mp4Fragments.h"
#include "audio/Playlist.h"
#include "audio/Stream.h"
#include "audio/WholeFetch.h"

namespace audio {

namespace {

// A segment longer than this is no radio's (a minute at 320 kbit/s is 2.4 MB).
constexpr std::size_t kMaxSegmentBytes = 8 * 1024 * 1024;
constexpr std::size_t kMaxInitBytes = 64 * 1024;
constexpr int kSegmentTries = 2;

using Clock = std::chrono::steady_clock;

}  // namespace

void Stream::DownloadHls() {
  const HlsStart& start = *source_.hls;
  HlsSchedule schedule(start.playlist, Clock::now());
  Backoff backoff(settings_.reconnectBudget, settings_.reconnectUnit);
  Clock::time_point connectedAt = Clock::now();
  bool connected = true;
  Codec codec = source_.codec;
  const std::function<bool()> stopped = [this] { return download_.Closed(); };
  for (;;) {
    if (std::optional<HlsSegment> segment = schedule.Next()) {
      SegmentAudio audio;
      if (!FetchSegment(*segment, audio)) {
        if (stopped()) {
          return;
        }
        schedule.Skipped();
      } else if (!TakeSegment(audio, segment->discontinuity, codec)) {
        return;
      }
      continue;
    }
    if (schedule.Finished() || !FlushAllStaged() || !RestUntil(schedule.ReloadAt())) {
      return;
    }
    const Clock::time_point loadStarted = Clock::now();
    WholeAnswer answer;
    const Failure failure = FetchWhole(start.playlistUrl, settings_.sourceOptions.limits,
                                       kMaxPlaylistBytes, stopped, answer);
    std::optional<MediaPlaylist> list;
    if (failure == Failure::None) {
      list = ParseMediaPlaylist(
          {reinterpret_cast<const char*>(answer.body.data()), answer.body.size()}, answer.url);
    }
    if (failure == Failure::Stopped || (list && list->encrypted)) {
      return;
    }
    if (list) {
      if (!connected) {
        connected = true;
        connectedAt = Clock::now();
        download_.SetConnected(true);
      }
      schedule.Reloaded(*list, loadStarted);
      continue;
    }
    if (connected) {
      connected = false;
      backoff.Dropped(connectedAt, Clock::now());
      download_.SetConnected(false);
      timeline_.ConnectionLost();
    }
    const std::optional<Clock::duration> wait =
        settings_.reconnectBudget.count() > 0 ? backoff.NextWait(Clock::now()) : std::nullopt;
    if (!wait || !connection_.WaitToTry(*wait, backoff)) {
      return;
    }
  }
}

bool Stream::FetchSegment(const HlsSegment& segment, SegmentAudio& audio) {
  const std::function<bool()> stopped = [this] { return download_.Closed(); };
  for (int tries = 0; tries < kSegmentTries; ++tries) {
    if (segment.mapUrl != mapUrl_) {
      WholeAnswer init;
      const Failure failure =
          FetchWhole(segment.mapUrl, settings_.sourceOptions.limits, kMaxInitBytes, stopped, init);
      if (failure == Failure::Stopped) {
        return false;
      }
      track_ = failure == Failure::None ? ParseInitSection(init.body) : std::nullopt;
      if (!track_) {
        continue;
      }
      mapUrl_ = segment.mapUrl;
    }
    WholeAnswer answer;
    const Failure failure =
        FetchWhole(segment.url, settings_.sourceOptions.limits, kMaxSegmentBytes, stopped, answer);
    if (failure == Failure::Stopped) {
      return false;
    }
    const Mp4Track* track = mapUrl_.empty() ? nullptr : &*track_;
    if (failure == Failure::None && AudioOfSegment(answer.body, track, audio)) {
      return true;
    }
  }
  return false;
}

bool Stream::TakeSegment(SegmentAudio& audio, bool afresh, Codec& codec) {
  // The bytes before the junction must be in the buffer first.
  if (!FlushAllStaged()) {
    return false;
  }
  if (afresh || audio.codec != codec) {
    codec = audio.codec;
    if (!download_.AddJunction(codec)) {
      return false;
    }
  }
  for (SegmentAudio::Title& title : audio.titles) {
    if (title.text != lastTitle_) {
      lastTitle_ = title.text;
      download_.AddMeta({bytesDemuxed_ + title.offset, std::move(title.text), nextSerial_++});
    }
  }
  if (!audio.bytes.empty()) {
    TakeBody(audio.bytes);
  }
  return !download_.Closed();
}

bool Stream::RestUntil(Clock::time_point when) {
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(when - Clock::now());
  return download_.Rest(std::max(wait, std::chrono::milliseconds(0)));
}

}  // namespace audio
