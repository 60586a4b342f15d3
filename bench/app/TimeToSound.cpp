// From a start to the first sound on the same local Icecast stream (128 kbit/s MP3, its burst
// filled): the whole player from the tap on its station (headless screen, SDL's disk audio in
// real time), from silence and from another station that sounds (a change of station), beside
// mpv and mpg123 from their start (each writing its samples to a file). The median of five runs
// each, and the player's ratio to each peer.
//   time_to_sound                  the player's sound through SDL's disk driver
//   time_to_sound --sound-server   the player's sound to a PulseAudio server of its own, its sink
//                                  recorded: a device closing there does not hold up the next
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/app/FirstSound.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "shell/ControlIds.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;

constexpr int kRuns = 5;
constexpr int kShortStationRow = 1;  // the tone genre's "Short Tone", here a steady lower tone
constexpr int kShortHz = 330;

// Ms from a tap on the tone station to its first sound while the short station sounds.
double ChangeToSound(bench::ToneStation& tone) {
  bench::TapToTone(tone.session, tone.sound, kShortStationRow, kShortHz);
  headless::RunFor(1s);
  return bench::TapToTone(tone.session, tone.sound, e2e::toneStationRow, bench::kToneHz);
}

}  // namespace

int main(int argc, char** argv) {
  bench::ToneStation tone(argc > 1 && std::strcmp(argv[1], "--sound-server") == 0);
  tone.icecast.StartMp3Tone("/short.mp3", kShortHz, 600, "Short Tone");
  http::MapHost("short.stream.test", 80, "127.0.0.1", tone.icecast.port());
  const std::string& url = tone.url;
  e2e::ProgramSession& session = tone.session;
  fixture::TempDir dir;
  std::vector<double> player, change, mpv, mpg123, firstBytes;
  for (int run = 0; run < kRuns; ++run) {
    bench::Silence(session);
    player.push_back(bench::TapToTone(session, tone.sound, e2e::toneStationRow, bench::kToneHz));
    change.push_back(ChangeToSound(tone));
    mpv.push_back(bench::PeerStartToSound({"mpv", "--no-video", "--really-quiet", "--no-config",
                                           "--ao=pcm", "--ao-pcm-file=" + dir.File("mpv.wav"), url},
                                          dir.File("mpv.wav"), false));
    mpg123.push_back(
        bench::PeerStartToSound({"mpg123", "-q", "-s", url}, dir.File("mpg123.raw"), true));
    firstBytes.push_back(
        bench::PeerStartToSound({"curl", "-s", "-N", url}, dir.File("curl.mp3"), true));
  }
  const double p = bench::Median(player), m = bench::Median(mpv), g = bench::Median(mpg123);
  std::printf("tap to first sound, median of %d: tunedeck %.0f ms, mpv %.0f ms, mpg123 %.0f ms\n",
              kRuns, p, m, g);
  std::printf("tunedeck from a tap to its first sound: from silence %s, from another station %s\n",
              bench::Spread(player).c_str(), bench::Spread(change).c_str());
  std::printf("the server's first bytes (curl from its start): %.0f ms\n",
              bench::Median(firstBytes));
  std::printf(
      "ratio tunedeck / mpv: %.2f   tunedeck / mpg123: %.2f   change / from silence: %.2f\n", p / m,
      p / g, bench::Median(change) / p);
  return 0;
}
