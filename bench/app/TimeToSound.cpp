// From a start to the first sound on the same local Icecast stream (128 kbit/s MP3, its burst
// filled): the whole player from the tap on its station (headless screen, SDL's disk audio in
// real time) beside mpv and mpg123 from their start (each writing its samples to a file). The
// median of five runs each, and the player's ratio to each peer.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/app/FirstSound.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;

constexpr int kRuns = 5;

}  // namespace

int main() {
  bench::ToneStation tone;
  const std::string& url = tone.url;
  e2e::ProgramSession& session = tone.session;
  fixture::TempDir dir;
  std::vector<double> player, mpv, mpg123, firstBytes;
  for (int run = 0; run < kRuns; ++run) {
    bench::Silence(session);
    player.push_back(bench::TapToSound(session));
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
  std::printf("the server's first bytes (curl from its start): %.0f ms\n",
              bench::Median(firstBytes));
  std::printf("ratio tunedeck / mpv: %.2f   tunedeck / mpg123: %.2f\n", p / m, p / g);
  return 0;
}
