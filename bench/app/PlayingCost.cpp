// What a minute of playback costs: the whole player (in its headless screen, painting its
// window, its sound through SDL's disk audio) playing a local 128 kbit/s MP3 station for 60 s,
// beside mpg123, mpv and ffmpeg playing the same stream at the same time. Processor seconds, peak
// RSS, and PSS (resident memory with shared library pages divided among the processes that map
// them, which RSS counts whole), each with the player's ratio to each peer; then where the
// player's PSS goes. An argument gives another length in seconds.
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/app/MemoryMap.h"
#include "bench/app/ProgramLoop.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "shell/ControlIds.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Icecast.h"

namespace {

using namespace std::chrono_literals;

int playSeconds = 60;

struct Cost {
  double cpuSeconds = 0;
  double peakRssMb = 0;
  double pssMb = 0;
  double rssMb = 0;
};

// A figure in kB from a /proc file of lines "Key:   123 kB", in MB.
double ProcFigureMb(const std::string& path, const std::string& key) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) {
      return std::stod(line.substr(key.size())) / 1024.0;
    }
  }
  return 0;
}

// PSS, RSS and the peak of RSS of a running process.
void ReadMemory(const std::string& pid, Cost& cost) {
  cost.pssMb = ProcFigureMb("/proc/" + pid + "/smaps_rollup", "Pss:");
  cost.rssMb = ProcFigureMb("/proc/" + pid + "/smaps_rollup", "Rss:");
  cost.peakRssMb = ProcFigureMb("/proc/" + pid + "/status", "VmHWM:");
}

// One row; with `player`, each figure's ratio tunedeck / this peer too.
void Print(const char* name, const Cost& c, const Cost* player) {
  auto ratio = [&](double mine, double theirs) {
    return player == nullptr ? std::string("      ")
                             : " (x" + std::to_string(mine / theirs).substr(0, 4) + ")";
  };
  std::printf("%-8s %5.2f s CPU/min%s  RSS %5.1f MB%s  peak %5.1f MB%s  PSS %5.1f MB%s\n", name,
              c.cpuSeconds * 60 / playSeconds,
              ratio(player ? player->cpuSeconds : 0, c.cpuSeconds).c_str(), c.rssMb,
              ratio(player ? player->rssMb : 0, c.rssMb).c_str(), c.peakRssMb,
              ratio(player ? player->peakRssMb : 0, c.peakRssMb).c_str(), c.pssMb,
              ratio(player ? player->pssMb : 0, c.pssMb).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  mallopt(M_ARENA_MAX, 1);  // as the program's main does
  if (argc > 1) {
    playSeconds = std::max(1, std::atoi(argv[1]));
  }
  fixture::Icecast icecast;
  icecast.StartMp3Tone("/tone.mp3", 440, playSeconds + 60, "Tone 440");
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
  const int devNull = open("/dev/null", O_WRONLY);
  fixture::ChildProcess mpg123({"mpg123", "-q", "-s", url}, {.standardOutput = devNull});
  fixture::ChildProcess mpv(
      {"mpv", "--no-video", "--really-quiet", "--no-config", "--ao=null", url},
      {.standardOutput = devNull});
  fixture::ChildProcess ffmpeg(
      {"ffmpeg", "-nostdin", "-loglevel", "quiet", "-i", url, "-f", "s16le", "-"},
      {.standardOutput = devNull});
  close(devNull);
  if (mpg123.WaitFor(500ms) || mpv.WaitFor(500ms) || ffmpeg.WaitFor(500ms)) {
    std::fprintf(stderr, "mpg123, mpv and ffmpeg are needed: scripts/install-deps --bench\n");
    return 1;
  }
  const double cpuBefore = bench::ProcessCpuSeconds();
  bench::RunProgramLoopFor(std::chrono::seconds(playSeconds));
  Cost player, peerMpg123, peerMpv, peerFfmpeg;
  player.cpuSeconds = bench::ProcessCpuSeconds() - cpuBefore;
  ReadMemory("self", player);
  const bench::MemoryMap playerMap = bench::ReadMemoryMap("self");
  ReadMemory(std::to_string(mpg123.pid()), peerMpg123);
  ReadMemory(std::to_string(mpv.pid()), peerMpv);
  ReadMemory(std::to_string(ffmpeg.pid()), peerFfmpeg);
  mpg123.Stop();
  mpv.Stop();
  ffmpeg.Stop();
  peerMpg123.cpuSeconds = mpg123.CpuSeconds();
  peerMpv.cpuSeconds = mpv.CpuSeconds();
  peerFfmpeg.cpuSeconds = ffmpeg.CpuSeconds();

  std::printf("%d s of the same local stream, side by side (ratios: tunedeck / peer)\n",
              playSeconds);
  Print("tunedeck", player, nullptr);
  Print("mpg123", peerMpg123, &player);
  Print("mpv", peerMpv, &player);
  Print("ffmpeg", peerFfmpeg, &player);
  bench::PrintMemoryMap("tunedeck", playerMap);
  return 0;
}
