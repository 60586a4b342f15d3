#include "bench/app/SoundServer.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace bench {

using namespace std::chrono_literals;

std::unique_ptr<fixture::ChildProcess> StartSoundServer(const fixture::TempDir& folder) {
  const std::string socket = folder.File("native");
  std::ofstream(folder.File("default.pa"))
      << "load-module module-null-sink sink_name=tunedeck\n"
         "load-module module-null-sink sink_name=mpg123\n"
         "load-module module-null-sink sink_name=mpv\n"
         "set-default-sink tunedeck\n"
         "load-module module-native-protocol-unix auth-anonymous=1 socket="
      << socket << "\n";
  auto server = std::make_unique<fixture::ChildProcess>(std::vector<std::string>{
      "env", "HOME=" + folder.path(), "XDG_RUNTIME_DIR=" + folder.path(), "pulseaudio", "-n", "-F",
      folder.File("default.pa"), "--exit-idle-time=-1", "--daemonize=no", "--disallow-exit",
      "--use-pid-file=no", "--log-target=file:" + folder.File("log")});
  for (int tries = 0; tries < 100 && !std::filesystem::exists(socket) && !server->Ended();
       ++tries) {
    std::this_thread::sleep_for(100ms);
  }
  if (!std::filesystem::exists(socket)) {
    throw std::runtime_error("pulseaudio did not start (scripts/install-deps --bench installs it)");
  }
  setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
  return server;
}

e2e::ProgramSession::Options SessionOptions(bool onSoundServer) {
  e2e::ProgramSession::Options options;
  if (onSoundServer) {
    options.audioDriver = "pulseaudio";
  }
  return options;
}

}  // namespace bench
