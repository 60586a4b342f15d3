// Wake-ups and processor time of the whole player (in its headless screen), summed over all its
// threads, over 10 s in each of three states: idle after start-up, playing a local 128 kbit/s
// MP3 station, and idle again once that station has ended. Wake-ups are the voluntary context
// switches the kernel counts per thread in /proc (a thread that slept and was woken); the
// involuntary ones (a running thread preempted by another, which a loaded machine adds) are
// counted apart. While the station plays, mpg123 and mpv play the same stream and are counted
// the same way over the same seconds.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/app/ProgramLoop.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "shell/ControlIds.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Icecast.h"

namespace {

using namespace std::chrono_literals;

constexpr int kPhaseSeconds = 10;
constexpr int kStationSeconds = 17;  // the station's source stops after this

struct Thread {
  std::string name;
  long wakeUps = 0;
  long preempted = 0;
};

// A process measured beside the player: its name and /proc entry.
struct Peer {
  std::string name;
  std::string process;
};

// Context switches so far of `process`'s threads, by thread id.
std::map<std::string, Thread> Switches(const std::string& process) {
  std::map<std::string, Thread> switches;
  std::error_code gone;
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + process + "/task", gone)) {
    std::ifstream status(task.path() / "status");
    std::string line;
    Thread thread;
    while (std::getline(status, line)) {
      if (line.starts_with("voluntary_ctxt_switches:")) {
        thread.wakeUps = std::stol(line.substr(line.find(':') + 1));
      } else if (line.starts_with("nonvoluntary_ctxt_switches:")) {
        thread.preempted = std::stol(line.substr(line.find(':') + 1));
      }
    }
    std::ifstream comm(task.path() / "comm");
    std::getline(comm, thread.name);
    switches[task.path().filename()] = thread;
  }
  return switches;
}

// The wake-ups and preemptions of `process`'s threads since `before`, and the wake-ups by
// thread name.
struct Counted {
  long wakeUps = 0;
  long preempted = 0;
  std::string byThread;
};

Counted CountSince(const std::map<std::string, Thread>& before, const std::string& process) {
  Counted counted;
  for (const auto& [id, thread] : Switches(process)) {
    auto old = before.find(id);
    const Thread start = old == before.end() ? Thread{} : old->second;
    const long count = thread.wakeUps - start.wakeUps;
    counted.wakeUps += count;
    counted.preempted += thread.preempted - start.preempted;
    if (count > 0) {
      counted.byThread += " " + thread.name + ":" + std::to_string(count);
    }
  }
  return counted;
}

// Runs the program's loop for one phase and prints its figures, and those of the peers.
void Measure(const char* phase, const std::vector<Peer>& peers = {}) {
  std::vector<std::map<std::string, Thread>> peersBefore;
  for (const Peer& peer : peers) {
    peersBefore.push_back(Switches(peer.process));
  }
  const std::map<std::string, Thread> before = Switches("self");
  const double cpu = bench::ProcessCpuSeconds();
  bench::RunProgramLoopFor(std::chrono::seconds(kPhaseSeconds));
  const double used = bench::ProcessCpuSeconds() - cpu;
  const Counted player = CountSince(before, "self");
  std::printf("%-28s %6.1f wake-ups/s  (%.1f/s preempted)  %.3f s CPU over %d s\n  by thread:%s\n",
              phase, static_cast<double>(player.wakeUps) / kPhaseSeconds,
              static_cast<double>(player.preempted) / kPhaseSeconds, used, kPhaseSeconds,
              player.byThread.c_str());
  for (std::size_t i = 0; i < peers.size(); ++i) {
    const Counted peer = CountSince(peersBefore[i], peers[i].process);
    std::printf("  %-26s %6.1f wake-ups/s  (%.1f/s preempted)  by thread:%s\n",
                peers[i].name.c_str(), static_cast<double>(peer.wakeUps) / kPhaseSeconds,
                static_cast<double>(peer.preempted) / kPhaseSeconds, peer.byThread.c_str());
  }
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
  const std::string url = icecast.Url("/tone.mp3");
  const int devNull = open("/dev/null", O_WRONLY);
  fixture::ChildProcess mpg123({"mpg123", "-q", "-s", url}, {.standardOutput = devNull});
  fixture::ChildProcess mpv(
      {"mpv", "--no-video", "--really-quiet", "--no-config", "--ao=null", url},
      {.standardOutput = devNull});
  close(devNull);
  headless::RunFor(2s);  // both past their start
  Measure("playing 128 kbit/s MP3", {{"mpg123 -q -s", std::to_string(mpg123.pid())},
                                     {"mpv --ao=null", std::to_string(mpv.pid())}});
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
