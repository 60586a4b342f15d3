// Whole-process comparison on the same local stream, in the same run: the small player on the
// audio engine against `mpg123 -q -s` and mpv, and the small player on AAC and Opus beside its
// own MP3 figures. Starts Icecast with a 128 kbit/s MP3 tone, a 96 kbit/s AAC tone and a
// 64 kbit/s Ogg Opus tone, then runs each player for a while and reports CPU seconds per minute
// of audio once it plays (its start-up, mostly loading libraries, apart), peak RSS and the time
// from launch to the first sound on stdout, with the ratios. Processor time is the kernel's per
// thread to the nanosecond, not rusage's 10 ms ticks, a few of which make a frugal player's minute.
//   audio_player_comparison PATH_TO_tunedeck_player [SECONDS]
#include "bench/common/TaskCounters.h"
#include "tests/support/Icecast.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Start-up (loading libraries, connecting, the first burst) is counted apart from playing.
constexpr auto kSettle = std::chrono::seconds(5);

struct Figures {
  double startCpuSeconds = 0;  // user + system until kSettle
  double cpuSeconds = 0;       // over the seconds measured after it
  double peakRssMb = 0;
  double firstSoundMs = -1;  // launch to the first nonzero byte on stdout; -1: none
};

// Runs `command` for kSettle and `seconds` more, reading its stdout.
std::optional<Figures> Measure(const std::vector<std::string>& command, int seconds,
                               const std::vector<std::string>& environment) {
  std::vector<std::string> args = command;
  std::vector<char*> argv;
  for (std::string& a : args) {
    argv.push_back(a.data());
  }
  argv.push_back(nullptr);
  int out[2];
  if (pipe(out) != 0) {
    return std::nullopt;
  }
  auto launched = Clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    for (const std::string& e : environment) {
      putenv(const_cast<char*>(e.c_str()));
    }
    dup2(out[1], STDOUT_FILENO);
    int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, STDERR_FILENO);
    close(out[0]);
    close(out[1]);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  Figures figures;
  std::thread reader([&figures, launched, in = out[0]] {
    char buffer[65536];
    for (;;) {
      ssize_t n = read(in, buffer, sizeof buffer);
      if (n <= 0) {
        break;
      }
      for (ssize_t i = 0; figures.firstSoundMs < 0 && i < n; ++i) {
        if (buffer[i] != 0) {
          figures.firstSoundMs =
              std::chrono::duration<double, std::milli>(Clock::now() - launched).count();
        }
      }
    }
  });
  const std::string process = std::to_string(pid);
  std::this_thread::sleep_until(launched + kSettle);
  const auto settled = bench::ReadTasks(process);
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  figures.cpuSeconds = bench::CountSince(settled, process).total.cpuSeconds;
  figures.peakRssMb = bench::PeakRssMb(process);
  for (const auto& [id, task] : settled) {
    figures.startCpuSeconds += task.cpuSeconds;
  }
  kill(pid, SIGTERM);
  reader.join();
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (settled.empty() || (WIFEXITED(status) && WEXITSTATUS(status) == 127)) {
    return std::nullopt;  // it could not run, or ended before it was measured
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH_TO_tunedeck_player [SECONDS]\n", argv[0]);
    return 2;
  }
  const std::string player = argv[1];
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
  fixture::Icecast icecast;
  icecast.StartMp3Tone("/bench.mp3", 440, 3600, "Bench");
  icecast.StartAacTone("/bench.aac", 440, 3600, "Bench AAC");
  icecast.StartOggSongs("/bench.opus", {{"Bench", "Opus", 440, 3600, 48000, 2, true}});
  std::this_thread::sleep_for(std::chrono::seconds(5));  // a full burst for every listener
  const std::string url = icecast.Url("/bench.mp3");
  const std::vector<std::string> disk = {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=/dev/stdout"};

  struct Player {
    std::string name;
    std::vector<std::string> command;
    std::vector<std::string> environment;
    bool peer;  // another player on the MP3 stream; else the small player on another codec
  };
  std::vector<Player> players = {
      {"tunedeck_player", {player, url}, disk, false},
      {"mpg123 -q -s", {"/usr/bin/mpg123", "-q", "-s", url}, {}, true},
      {"mpv",
       {"/usr/bin/mpv", "--no-config", "--no-video", "--ao=pcm", "--ao-pcm-file=/dev/stdout",
        "--audio-format=s16", url},
       {},
       true},
      {"tunedeck AAC", {player, icecast.Url("/bench.aac")}, disk, false},
      {"tunedeck Opus", {player, icecast.Url("/bench.opus")}, disk, false},
  };
  std::vector<Figures> results;
  std::printf("%d s of each after %lld s of start-up\n", seconds,
              static_cast<long long>(kSettle.count()));
  std::printf("%-16s %12s %12s %12s %14s\n", "player", "CPU s/min", "start CPU s", "peak RSS MB",
              "first sound ms");
  for (const Player& p : players) {
    std::optional<Figures> f = Measure(p.command, seconds, p.environment);
    if (!f) {
      std::printf("%-16s could not run\n", p.name.c_str());
      return 1;
    }
    results.push_back(*f);
    std::printf("%-16s %12.3f %12.3f %12.1f %14.0f\n", p.name.c_str(), f->cpuSeconds * 60 / seconds,
                f->startCpuSeconds, f->peakRssMb, f->firstSoundMs);
  }
  for (std::size_t i = 1; i < results.size(); ++i) {
    const Figures& a = players[i].peer ? results[0] : results[i];
    const Figures& b = players[i].peer ? results[i] : results[0];
    std::printf("%s / %s: CPU %.2fx, peak RSS %.2fx, first sound %.2fx\n",
                players[i].peer ? "tunedeck_player" : players[i].name.c_str(),
                players[i].peer ? players[i].name.c_str() : "tunedeck_player",
                a.cpuSeconds / b.cpuSeconds, a.peakRssMb / b.peakRssMb,
                a.firstSoundMs / b.firstSoundMs);
  }
  return 0;
}
