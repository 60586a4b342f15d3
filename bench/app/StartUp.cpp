// From exec to the genre list on the screen: the program's own binary, started afresh in a
// folder of its own with the data it ships, on SDL's dummy video driver, which writes every
// frame it is given as a BMP file, and with ALSA's null sound device. The time is the frame file's
// creation (seen through inotify) of the first frame that shows both the rows and the status line,
// which is drawn after the lists, less the moment the exec succeeded (a close-on-exec pipe
// closing). In the same run, beside it: mpv from its start to its first sound on a local Icecast
// stream (samples written to a wave file), and the program's own tap on that station to its first
// sound (in this process, headless screen, SDL's disk audio in real time; this process is silent
// until that tap). Runs: 10, or the first argument; further arguments name other builds of the
// binary (an earlier one), whose start-up is measured in turn with this one's, for a before and
// after from one run.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/app/FirstSound.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kDefaultRuns = 10;
constexpr int kStatusLineRows = 40;  // the foot of the 480x640 window at 192 dpi
constexpr std::uint8_t kLit = 64;    // text, not the black background

std::uint32_t Read32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

// Whether the BMP frame at `path` shows a lit pixel both in its upper half (the genre rows) and
// in its last rows (the status line).
bool ShowsGenreList(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bmp((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0) {
    return false;
  }
  const std::uint32_t pixels = Read32(bmp, 10);
  const auto width = static_cast<std::int32_t>(Read32(bmp, 18));
  const auto height = static_cast<std::int32_t>(Read32(bmp, 22));
  const int bytesPerPixel = static_cast<unsigned char>(bmp[28]) / 8;
  if (width <= 0 || height == 0 || bytesPerPixel < 3) {
    return false;
  }
  const int rows = std::abs(height);
  const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3) / 4 * 4;
  if (bmp.size() < pixels + stride * rows) {
    return false;
  }
  auto lit = [&](int fromRow, int toRow) {
    for (int y = fromRow; y < toRow; ++y) {
      const int stored = height > 0 ? rows - 1 - y : y;  // a positive height is stored bottom-up
      const char* row = bmp.data() + pixels + stride * stored;
      for (int x = 0; x < width; ++x) {
        for (int channel = 0; channel < 3; ++channel) {
          if (static_cast<std::uint8_t>(row[x * bytesPerPixel + channel]) > kLit) {
            return true;
          }
        }
      }
    }
    return false;
  };
  return lit(0, rows / 2) && lit(rows - kStatusLineRows, rows);
}

// The program's binary and the files it ships, in a folder of their own: its first start there.
std::string PrepareProgramFolder(const fixture::TempDir& dir, const std::string& binary) {
  for (const auto& entry : fs::directory_iterator(std::string(TUNEDECK_SOURCE_DIR) + "/data")) {
    if (entry.is_regular_file()) {
      fs::copy_file(entry.path(), dir.File(entry.path().filename().string()));
    }
  }
  fs::copy_file(binary, dir.File("tunedeck"));
  // The sound device the program opens: ALSA's, a sink that takes everything, so that its
  // library and configuration cost what they cost on a device (SDL's dummy driver costs nothing).
  std::ofstream(dir.File(".asoundrc")) << "pcm.!default { type null }\n";
  return dir.File("tunedeck");
}

struct StartUp {
  double ms = -1;
  std::string frame;  // the frame that showed the genre list
  bool ownNetwork = true;
};

// Starts `program` with its working folder `frames` and waits for its first frame that shows the
// genre list. The program runs in a network namespace of its own where it can have one: its
// single-instance channel (an abstract socket of the user's) then meets no other copy that a
// test of the machine has running.
StartUp MeasureStartUp(const std::string& program, const std::string& frames) {
  fs::create_directories(frames);
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (std::strncmp(*variable, "SDL_", 4) != 0 && std::strncmp(*variable, "HOME=", 5) != 0) {
      environment.emplace_back(*variable);
    }
  }
  environment.push_back("HOME=" + fs::path(program).parent_path().string());
  for (const char* variable :
       {"SDL_VIDEODRIVER=dummy", "SDL_VIDEO_DUMMY_SAVE_FRAMES=1", "SDL_AUDIODRIVER=alsa"}) {
    environment.emplace_back(variable);
  }
  std::vector<char*> envp;
  for (std::string& variable : environment) {
    envp.push_back(variable.data());
  }
  envp.push_back(nullptr);
  std::string programCopy = program;
  char* argv[] = {programCopy.data(), nullptr};

  const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  inotify_add_watch(watch, frames.c_str(), IN_CREATE | IN_CLOSE_WRITE);
  int exec[2];
  if (pipe2(exec, O_CLOEXEC) != 0) {
    std::perror("pipe2");
    std::exit(1);
  }
  // The child makes only system calls until exec.
  fixture::ChildProcess child([&]() -> int {
    if (unshare(CLONE_NEWNET) != 0) {
      (void)!write(exec[1], "n", 1);
    }
    if (chdir(frames.c_str()) != 0) {
      return 126;
    }
    execve(argv[0], argv, envp.data());
    return 127;
  });
  close(exec[1]);
  StartUp result;
  char said = 0;
  while (read(exec[0], &said, 1) == 1) {
    result.ownNetwork = false;
  }
  const Clock::time_point execed = Clock::now();
  close(exec[0]);

  std::map<std::string, Clock::time_point> created;
  while (result.ms < 0 && Clock::now() - execed < 20s && !child.Ended()) {
    pollfd ready{watch, POLLIN, 0};
    if (poll(&ready, 1, 100) <= 0) {
      continue;
    }
    const Clock::time_point now = Clock::now();
    alignas(inotify_event) char events[4096];
    const ssize_t length = read(watch, events, sizeof events);
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(events + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      const std::string name = event->len > 0 ? event->name : "";
      if ((event->mask & IN_CREATE) != 0) {
        created.emplace(name, now);
      }
      if ((event->mask & IN_CLOSE_WRITE) != 0 && result.ms < 0 &&
          ShowsGenreList(frames + "/" + name)) {
        const Clock::time_point shown = created.count(name) != 0 ? created[name] : now;
        result.ms = std::chrono::duration<double, std::milli>(shown - execed).count();
        result.frame = frames + "/" + name;
      }
    }
  }
  close(watch);
  child.Signal(SIGKILL);
  child.WaitFor(5s);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
  std::vector<std::string> binaries = {TUNEDECK_PROGRAM};
  binaries.insert(binaries.end(), argv + std::min(argc, 2), argv + argc);
  std::vector<std::unique_ptr<fixture::TempDir>> folders;
  std::vector<std::string> programs;
  for (const std::string& binary : binaries) {
    folders.push_back(std::make_unique<fixture::TempDir>());
    programs.push_back(PrepareProgramFolder(*folders.back(), binary));
  }

  bench::ToneStation tone;
  const std::string& url = tone.url;
  e2e::ProgramSession& session = tone.session;
  fixture::TempDir dir;

  std::vector<std::vector<double>> startUp(programs.size());
  std::vector<double> mpv, tap;
  bool ownNetwork = true;
  for (int run = 0; run < runs; ++run) {
    bench::Silence(session);  // nothing of this process plays while the others start
    for (std::size_t turn = 0; turn < programs.size(); ++turn) {
      const std::size_t p = (turn + run) % programs.size();  // each build goes first in turn
      const StartUp start = MeasureStartUp(
          programs[p], dir.File("frames-" + std::to_string(run) + "-" + std::to_string(p)));
      if (start.ms < 0) {
        std::fprintf(stderr, "%s: no frame showed the genre list within 20 s\n",
                     binaries[p].c_str());
        return 1;
      }
      ownNetwork = ownNetwork && start.ownNetwork;
      if (run == 0 && p == 0) {
        fs::create_directories(E2E_SCREENSHOT_DIR);
        fs::copy_file(start.frame, E2E_SCREENSHOT_DIR "/start-up-genre-list.bmp",
                      fs::copy_options::overwrite_existing);
      }
      startUp[p].push_back(start.ms);
    }
    mpv.push_back(bench::PeerStartToSound({"mpv", "--no-video", "--really-quiet", "--no-config",
                                           "--ao=pcm", "--ao-pcm-file=" + dir.File("mpv.wav"), url},
                                          dir.File("mpv.wav"), false));
    tap.push_back(bench::TapToSound(session));
  }
  if (!ownNetwork) {
    std::printf("(no network namespace of its own: another copy running would have taken over)\n");
  }
  std::printf("median (lowest-highest) of %d runs\n", runs);
  std::printf("exec to the genre list on the screen: %s\n", bench::Spread(startUp[0]).c_str());
  for (std::size_t p = 1; p < programs.size(); ++p) {
    std::printf("  the same, %s: %s\n", binaries[p].c_str(), bench::Spread(startUp[p]).c_str());
  }
  std::printf("mpv from its start to its first sound: %s\n", bench::Spread(mpv).c_str());
  std::printf("tunedeck from a tap to its first sound: %s\n", bench::Spread(tap).c_str());
  const double m = bench::Median(mpv);
  std::printf("ratio to mpv's first sound: start-up %.2f, tap to sound %.2f\n",
              bench::Median(startUp[0]) / m, bench::Median(tap) / m);
  return 0;
}
