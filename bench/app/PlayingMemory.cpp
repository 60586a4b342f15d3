// Peak resident memory of the whole player playing a local stream for 20 s, beside mpv playing
// the same stream at the same time. Prints both and their ratio.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
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

constexpr int playSeconds = 20;

pid_t StartMpv(const std::string& url) {
  std::vector<std::string> arguments = {
      "mpv", "--no-video", "--ao=null", "--really-quiet", "--length=" + std::to_string(playSeconds),
      url};
  std::vector<char*> argv;
  for (auto& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "mpv", nullptr, nullptr, argv.data(), environ) != 0) {
    return -1;
  }
  return pid;
}

}  // namespace

int main() {
  fixture::Icecast icecast;
  icecast.StartMp3Tone("/tone.mp3", 440, playSeconds + 30, "Tone 440");
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());

  e2e::ProgramSession session;
  session.TapRow(ID_GENRE_LIST, 2);
  session.TapRow(ID_STATION_LIST, 0);
  if (!session.WaitForStatus(
          [](const std::wstring& s) { return s.find(L"Tone 440") != std::wstring::npos; }, 20s)) {
    std::fprintf(stderr, "the player did not start playing\n");
    return 1;
  }
  const pid_t mpv = StartMpv(icecast.Url("/tone.mp3"));
  headless::RunFor(std::chrono::seconds(playSeconds));

  rusage player = {};
  getrusage(RUSAGE_SELF, &player);
  rusage other = {};
  int status = 0;
  if (mpv > 0) {
    wait4(mpv, &status, 0, &other);
  }
  std::printf("tunedeck (whole program, in-process) peak RSS: %.1f MB\n",
              player.ru_maxrss / 1024.0);
  if (mpv > 0) {
    std::printf("mpv on the same stream peak RSS:             %.1f MB\n", other.ru_maxrss / 1024.0);
    std::printf("ratio tunedeck / mpv:                        %.2f\n",
                static_cast<double>(player.ru_maxrss) / static_cast<double>(other.ru_maxrss));
  } else {
    std::printf("mpv not found: install it with scripts/install-deps --bench\n");
  }
  return 0;
}
