// What a minute of playback costs: the whole player (in its headless screen, painting its
// window, its sound through SDL's disk audio) playing a local 128 kbit/s MP3 station for 60 s,
// beside mpg123 and mpv playing the same stream at the same time. Processor seconds, peak RSS,
// and PSS (resident memory with shared library pages divided among the processes that map
// them, which RSS counts whole), each with the player's ratio to each peer.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "directory/ControlIds.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/Icecast.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr int kPlaySeconds = 60;

struct Cost {
  double cpuSeconds = 0;
  double peakRssMb = 0;
  double pssMb = 0;
  double rssMb = 0;
};

// Pss and Rss of a running process from /proc/PID/smaps_rollup, in MB.
void ReadMemory(const std::string& pid, Cost& cost) {
  std::ifstream rollup("/proc/" + pid + "/smaps_rollup");
  std::string key;
  long kb = 0;
  std::string unit;
  while (rollup >> key >> kb >> unit) {
    if (key == "Pss:") {
      cost.pssMb = kb / 1024.0;
    } else if (key == "Rss:") {
      cost.rssMb = kb / 1024.0;
    }
  }
}

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

pid_t Start(std::vector<std::string> arguments) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (auto& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

Cost Stop(pid_t pid, Cost cost) {
  kill(pid, SIGTERM);
  rusage usage{};
  int status = 0;
  wait4(pid, &status, 0, &usage);
  cost.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  cost.peakRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return cost;
}

void Print(const char* name, const Cost& c, const Cost& player) {
  std::printf("%-8s %6.2f s CPU/min (x%.2f)  peak RSS %5.1f MB (x%.2f)  PSS %5.1f MB (x%.2f)\n",
              name, c.cpuSeconds * 60 / kPlaySeconds, player.cpuSeconds / c.cpuSeconds, c.peakRssMb,
              player.peakRssMb / c.peakRssMb, c.pssMb, player.pssMb / c.pssMb);
}

}  // namespace

int main() {
  fixture::Icecast icecast;
  icecast.StartMp3Tone("/tone.mp3", 440, kPlaySeconds + 60, "Tone 440");
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  const std::string url = icecast.Url("/tone.mp3");

  e2e::ProgramSession session;
  session.TapRow(ID_GENRE_LIST, e2e::toneGenreRow);
  session.TapRow(ID_STATION_LIST, e2e::toneStationRow);
  if (!session.WaitForStatus(
          [](const std::wstring& s) { return s.find(L"Tone 440") != std::wstring::npos; }, 20s)) {
    std::fprintf(stderr, "the player did not start playing\n");
    return 1;
  }
  const pid_t mpg123 = Start({"mpg123", "-q", "-s", url});
  const pid_t mpv = Start({"mpv", "--no-video", "--really-quiet", "--no-config", "--ao=null", url});
  if (mpg123 < 0 || mpv < 0) {
    std::fprintf(stderr, "mpg123 and mpv are needed: scripts/install-deps --bench\n");
    return 1;
  }
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  headless::RunFor(std::chrono::seconds(kPlaySeconds - 5));
  Cost player, peerMpg123, peerMpv;
  ReadMemory("self", player);
  ReadMemory(std::to_string(mpg123), peerMpg123);
  ReadMemory(std::to_string(mpv), peerMpv);
  headless::RunFor(5s);
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  player.cpuSeconds = Seconds(after.ru_utime) + Seconds(after.ru_stime) - Seconds(before.ru_utime) -
                      Seconds(before.ru_stime);
  player.peakRssMb = static_cast<double>(after.ru_maxrss) / 1024.0;
  peerMpg123 = Stop(mpg123, peerMpg123);
  peerMpv = Stop(mpv, peerMpv);

  std::printf("%d s of the same local stream, side by side (ratios: tunedeck / peer)\n",
              kPlaySeconds);
  std::printf("tunedeck %6.2f s CPU/min         peak RSS %5.1f MB         PSS %5.1f MB\n",
              player.cpuSeconds * 60 / kPlaySeconds, player.peakRssMb, player.pssMb);
  Print("mpg123", peerMpg123, player);
  Print("mpv", peerMpv, player);
  return 0;
}
