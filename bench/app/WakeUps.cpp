// Wake-ups and processor time of the whole player (in its headless screen), summed over all its
// threads, over 10 s in each of three states: idle after start-up, playing a local 128 kbit/s
// MP3 station, and idle again once that station has ended. Wake-ups are the context switches
// the kernel counts per thread in /proc.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "bench/app/ProgramLoop.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "shell/ControlIds.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/Icecast.h"

namespace {

using namespace std::chrono_literals;

constexpr int kPhaseSeconds = 10;
constexpr int kStationSeconds = 14;  // the station's source stops after this

struct Thread {
  std::string name;
  long switches = 0;
};

// Context switches so far, by thread id.
std::map<std::string, Thread> Switches() {
  std::map<std::string, Thread> switches;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream status(task.path() / "status");
    std::string line;
    long sum = 0;
    while (std::getline(status, line)) {
      if (line.find("ctxt_switches:") != std::string::npos) {
        sum += std::stol(line.substr(line.find(':') + 1));
      }
    }
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    switches[task.path().filename()] = {name, sum};
  }
  return switches;
}

// Runs the program's loop for one phase and prints its figures.
void Measure(const char* phase) {
  const std::map<std::string, Thread> before = Switches();
  const double cpu = bench::ProcessCpuSeconds();
  bench::RunProgramLoopFor(std::chrono::seconds(kPhaseSeconds));
  const double used = bench::ProcessCpuSeconds() - cpu;
  long wakeUps = 0;
  std::string busiest;
  for (const auto& [id, thread] : Switches()) {
    auto old = before.find(id);
    const long count = thread.switches - (old == before.end() ? 0 : old->second.switches);
    wakeUps += count;
    if (count > 0) {
      busiest += " " + thread.name + ":" + std::to_string(count);
    }
  }
  std::printf("%-28s %6.1f wake-ups/s  %.3f s CPU over %d s\n  by thread:%s\n", phase,
              static_cast<double>(wakeUps) / kPhaseSeconds, used, kPhaseSeconds, busiest.c_str());
}

}  // namespace

int main() {
  fixture::Icecast icecast;
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  e2e::ProgramSession session;
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
  Measure("playing 128 kbit/s MP3");
  if (!session.WaitForStatus(L"not playing", 30s)) {
    std::fprintf(stderr, "the station did not end\n");
    return 1;
  }
  headless::RunFor(1s);
  Measure("idle after the station ended");
  return 0;
}
