// Wake-ups and processor time of the whole player (in its headless screen), summed over all its
// threads, over 10 s in each of three states: idle after start-up, playing a local 128 kbit/s
// MP3 station, and idle again once that station has ended. Wake-ups are the voluntary context
// switches the kernel counts per thread in /proc (a thread that slept and was woken); the
// involuntary ones (a running thread preempted by another, which a loaded machine adds) are
// counted apart. While the station plays, mpg123 and mpv play the same stream and are counted
// the same way over the same seconds.
//   wake_ups                  sound through SDL's disk driver, the peers to none
//   wake_ups --sound-server   everyone's sound to a PulseAudio server of the benchmark's own
//                             (a null sink), as on a desktop or a phone: there the sound server's
//                             requests for more, not the output period alone, wake the player
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/app/ProgramLoop.h"
#include "bench/app/SoundServer.h"
#include "bench/common/TaskCounters.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "shell/ControlIds.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Icecast.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;

constexpr int kPhaseSeconds = 10;
constexpr int kStationSeconds = 17;  // the station's source stops after this

// A process measured beside the player: its name and /proc entry.
struct Peer {
  std::string name;
  std::string process;
};

// Runs the program's loop for one phase and prints its figures, and those of the peers.
void Measure(const char* phase, const std::vector<Peer>& peers = {}) {
  std::vector<std::map<std::string, bench::TaskCounters>> peersBefore;
  for (const Peer& peer : peers) {
    peersBefore.push_back(bench::ReadTasks(peer.process));
  }
  const auto before = bench::ReadTasks("self");
  bench::RunProgramLoopFor(std::chrono::seconds(kPhaseSeconds));
  const bench::TasksSince player = bench::CountSince(before, "self");
  std::printf("%-28s %6.1f wake-ups/s  (%.1f/s preempted)  %.3f s CPU over %d s\n  by thread:%s\n",
              phase, static_cast<double>(player.total.wakeUps) / kPhaseSeconds,
              static_cast<double>(player.total.preempted) / kPhaseSeconds, player.total.cpuSeconds,
              kPhaseSeconds, player.wakeUpsByThread.c_str());
  for (std::size_t i = 0; i < peers.size(); ++i) {
    const bench::TasksSince peer = bench::CountSince(peersBefore[i], peers[i].process);
    std::printf("  %-26s %6.1f wake-ups/s  (%.1f/s preempted)  %.3f s CPU  by thread:%s\n",
                peers[i].name.c_str(), static_cast<double>(peer.total.wakeUps) / kPhaseSeconds,
                static_cast<double>(peer.total.preempted) / kPhaseSeconds, peer.total.cpuSeconds,
                peer.wakeUpsByThread.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool soundServer = argc > 1 && std::strcmp(argv[1], "--sound-server") == 0;
  fixture::TempDir serverFolder;
  const std::unique_ptr<fixture::ChildProcess> server =
      soundServer ? bench::StartSoundServer(serverFolder) : nullptr;
  fixture::Icecast icecast;
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  e2e::ProgramSession session(bench::SessionOptions(soundServer));
  session.TapRow(ID_GENRE_LIST, e2e::toneGenreRow);
  headless::RunFor(2s);
  Measure("idle after start-up");

  icecast.StartMp3Tone("/tone.mp3", 440, kStationSeconds, "Tone 440");
  session.TapRow(ID_STATION_LIST, e2e::toneStationRow);
  if (!session.WaitForStatus(
          [](const std::wstring& s) { return s.find(L"Tone 440") != std::wstring::npos; }, 20s)) {
    std::fprintf(stderr, "the player did not start playing\n");
    return 1;
  }
  const std::string url = icecast.Url("/tone.mp3");
  const int devNull = open("/dev/null", O_WRONLY);
  const std::string mpg123Output = soundServer ? "-opulse" : "-s";
  const std::string mpvOutput = soundServer ? "--ao=pulse" : "--ao=null";
  setenv("PULSE_SINK", "mpg123", 1);
  fixture::ChildProcess mpg123({"mpg123", "-q", mpg123Output, url}, {.standardOutput = devNull});
  setenv("PULSE_SINK", "mpv", 1);
  fixture::ChildProcess mpv({"mpv", "--no-video", "--really-quiet", "--no-config", mpvOutput, url},
                            {.standardOutput = devNull});
  unsetenv("PULSE_SINK");
  close(devNull);
  headless::RunFor(2s);  // both past their start
  Measure("playing 128 kbit/s MP3", {{"mpg123 -q " + mpg123Output, std::to_string(mpg123.pid())},
                                     {"mpv " + mpvOutput, std::to_string(mpv.pid())}});
  mpg123.Stop();
  mpv.Stop();
  if (!session.WaitForStatus(L"not playing", 30s)) {
    std::fprintf(stderr, "the station did not end\n");
    return 1;
  }
  headless::RunFor(1s);
  Measure("idle after the station ended");
  return 0;
}
