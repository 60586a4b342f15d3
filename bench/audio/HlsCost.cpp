// What an HLS station costs beside the same station as a plain stream, in one run: the small
// player on the audio engine plays a 440 Hz 128 kbit/s AAC tone from Icecast, then the same tone
// as a live HLS station from the fixture server (MPEG-TS and fragmented MP4 segments of 6 s, as
// broadcasters cut them, and MPEG-TS of 1 s, the tests' reload-heavy case), each in a process of
// its own writing its sound through SDL's disk driver. Once a player has played for a while, its
// processor time and its wake-ups (the voluntary context switches of all its threads in /proc;
// preemptions depend on the machine's load, not on the player) are counted over the same span,
// and its peak resident memory is read at the end. Reports each, and each HLS figure as a ratio
// to Icecast's; the tone each wrote is measured, so a player that did not play is not reported.
//   audio_hls_cost [SECONDS]   (60 unless told)
#include "bench/common/TaskCounters.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/HlsStation.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/Icecast.h"
#include "tests/support/SoundMeasure.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Start-up (connecting, the first burst, the first segments) is left out of the figures.
constexpr auto kSettle = 10s;

struct Figures {
  double cpuSecondsPerMinute = 0;
  double wakeUpsPerSecond = 0;
  double peakRssMb = 0;
};

// Plays `url` for kSettle and `seconds` more; nothing when it did not play the tone throughout.
std::optional<Figures> Measure(const std::string& player, const std::string& url, int seconds,
                               const std::string& soundFile) {
  setenv("SDL_DISKAUDIOFILE", soundFile.c_str(), 1);
  const auto settle = std::chrono::duration_cast<std::chrono::seconds>(kSettle).count();
  fixture::ChildProcess child({player, url, std::to_string(settle + seconds + 5)});
  std::this_thread::sleep_for(kSettle);  // the player's own pace: nothing to wait on here
  const std::string process = std::to_string(child.pid());
  const auto before = bench::ReadTasks(process);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const bench::TaskCounters counted = bench::CountSince(before, process).total;
  Figures figures;
  figures.cpuSecondsPerMinute = counted.cpuSeconds * 60 / seconds;
  figures.wakeUpsPerSecond = static_cast<double>(counted.wakeUps) / seconds;
  figures.peakRssMb = bench::PeakRssMb(process);
  child.Stop();

  const sound::Recording sound = sound::ReadDiskAudio(soundFile);
  const std::size_t first = sound::FirstSound(sound);
  const sound::Span heard{first, sound.frames() - std::min(first, sound.frames())};
  const double played = sound.Seconds(sound::SoundFrames(sound, heard, 8193));
  const double hz = sound::FrequencyHz(sound, heard);
  if (played < seconds || std::abs(hz - 440) > 5) {
    std::fprintf(stderr, "%s: %.1f s of sound at %.0f Hz\n", url.c_str(), played, hz);
    return std::nullopt;
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  setenv("SDL_AUDIODRIVER", "disk", 1);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  fixture::TempDir sounds;

  fixture::Icecast icecast;
  icecast.StartAacTone("/tone.aac", 440, 3600, "Tone", 128);
  fixture::HttpFixture server;
  fixture::HlsStation ts6(server, "/ts6/live.m3u8", fixture::SegmentKind::TransportStream, 6);
  fixture::HlsStation mp4(server, "/mp4/live.m3u8", fixture::SegmentKind::FragmentedMp4, 6);
  fixture::HlsStation ts1(server, "/ts1/live.m3u8", fixture::SegmentKind::TransportStream, 1);
  struct Station {
    const char* name;
    std::string url;
    fixture::HlsStation* hls;
  };
  const std::vector<Station> stations = {
      {"Icecast AAC", icecast.Url("/tone.aac"), nullptr},
      {"HLS TS 6 s", server.BaseUrl() + "/ts6/live.m3u8", &ts6},
      {"HLS fMP4 6 s", server.BaseUrl() + "/mp4/live.m3u8", &mp4},
      {"HLS TS 1 s", server.BaseUrl() + "/ts1/live.m3u8", &ts1},
  };

  std::printf("%d s of each, after %lld s of start-up\n", seconds,
              static_cast<long long>(std::chrono::seconds(kSettle).count()));
  std::printf("%-14s %12s %12s %12s\n", "station", "CPU s/min", "wake-ups/s", "peak RSS MB");
  std::optional<Figures> icecastFigures;
  for (const Station& station : stations) {
    if (station.hls != nullptr) {
      station.hls->Slide({.first = 0, .count = 5});
    }
    const std::optional<Figures> f = Measure(TUNEDECK_PLAYER, station.url, seconds,
                                             sounds.File(std::string(station.name) + ".raw"));
    if (station.hls != nullptr) {
      station.hls->Stop();
    }
    if (!f) {
      std::printf("%-14s did not play\n", station.name);
      return 1;
    }
    std::printf("%-14s %12.3f %12.1f %12.1f", station.name, f->cpuSecondsPerMinute,
                f->wakeUpsPerSecond, f->peakRssMb);
    if (!icecastFigures) {
      icecastFigures = f;
      std::printf("\n");
    } else {
      std::printf("   / Icecast: CPU %.2fx, wake-ups %.2fx, peak RSS %.2fx\n",
                  f->cpuSecondsPerMinute / icecastFigures->cpuSecondsPerMinute,
                  f->wakeUpsPerSecond / icecastFigures->wakeUpsPerSecond,
                  f->peakRssMb / icecastFigures->peakRssMb);
    }
  }
  return 0;
}
