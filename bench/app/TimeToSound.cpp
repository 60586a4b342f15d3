// From a start to the first sound on the same local Icecast stream (128 kbit/s MP3, its burst
// filled): the whole player from the tap on its station (headless screen, SDL's disk audio in
// real time) beside mpv and mpg123 from their start (each writing its samples to a file). The
// median of five runs each, and the player's ratio to each peer.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "shell/ControlIds.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Icecast.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;
constexpr std::int16_t kLoud = 300;  // the tone, not the silence around it

// True when the 16-bit samples of `path` from byte `skip` on hold one louder than kLoud.
bool HasSound(const std::string& path, std::size_t skip) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(skip));
  std::int16_t sample = 0;
  while (in.read(reinterpret_cast<char*>(&sample), sizeof sample)) {
    if (std::abs(sample) > kLoud) {
      return true;
    }
  }
  return false;
}

// A peer player started on the stream, its samples going to `out`; ms to its first sound, -1
// when it could not be run.
double PeerRun(const std::vector<std::string>& arguments, const std::string& out, bool toStdout) {
  std::remove(out.c_str());
  const int output = toStdout ? open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
  const Clock::time_point start = Clock::now();
  fixture::ChildProcess peer(arguments, {.standardOutput = output});
  if (output >= 0) {
    close(output);
  }
  // mpv's file opens with a 44-byte wave header.
  const std::size_t header = toStdout ? 0 : 44;
  while (!HasSound(out, header) && Clock::now() - start < 20s) {
    if (peer.Ended()) {
      return -1;
    }
    std::this_thread::sleep_for(2ms);
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  peer.Signal(SIGKILL);
  return ms;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  fixture::Icecast icecast;
  icecast.StartMp3Tone("/tone.mp3", 440, 600, "Tone 440");
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  fixture::TempDir dir;
  const std::string url = icecast.Url("/tone.mp3");

  e2e::ProgramSession session;
  session.TapRow(ID_GENRE_LIST, e2e::toneGenreRow);
  headless::RunFor(3s);  // the source is up and the server's burst is full
  std::vector<double> player, mpv, mpg123, firstBytes;
  for (int run = 0; run < kRuns; ++run) {
    session.TapRow(ID_STATION_LIST, e2e::nowhereStationRow);  // silence, the device asleep
    session.WaitForStatus(L"not playing", 20s);
    session.WaitForTuneInEnd();
    headless::RunFor(1s);
    std::remove(session.soundFile().c_str());  // the device, asleep, makes it anew
    const Clock::time_point tap = Clock::now();
    session.TapRow(ID_STATION_LIST, e2e::toneStationRow);
    while (!HasSound(session.soundFile(), 0) && Clock::now() - tap < 20s) {
      headless::RunFor(2ms);
    }
    player.push_back(std::chrono::duration<double, std::milli>(Clock::now() - tap).count());
    mpv.push_back(PeerRun({"mpv", "--no-video", "--really-quiet", "--no-config", "--ao=pcm",
                           "--ao-pcm-file=" + dir.File("mpv.wav"), url},
                          dir.File("mpv.wav"), false));
    mpg123.push_back(PeerRun({"mpg123", "-q", "-s", url}, dir.File("mpg123.raw"), true));
    firstBytes.push_back(PeerRun({"curl", "-s", "-N", url}, dir.File("curl.mp3"), true));
  }
  const double p = Median(player), m = Median(mpv), g = Median(mpg123);
  std::printf("tap to first sound, median of %d: tunedeck %.0f ms, mpv %.0f ms, mpg123 %.0f ms\n",
              kRuns, p, m, g);
  std::printf("the server's first bytes (curl from its start): %.0f ms\n", Median(firstBytes));
  std::printf("ratio tunedeck / mpv: %.2f   tunedeck / mpg123: %.2f\n", p / m, p / g);
  return 0;
}
