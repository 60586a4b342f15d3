#include "bench/app/FirstSound.h"

#include "bench/app/SoundServer.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "shell/ControlIds.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"

namespace bench {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::int16_t kLoud = 300;   // the tone, not the silence around it
constexpr std::size_t kRate = 44100;  // of the MP3 stations, hence of the device and the recording
constexpr std::size_t kWindowFrames = 2048;  // 46 ms

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

// True when a window of the 16-bit stereo samples of `path` from byte `from` on is a loud tone of
// about `hz` Hz (its zero crossings tell the pitch); `from` moves past the windows looked at, so
// that a recording that grows is read once.
bool HasTone(const std::string& path, std::size_t& from, int hz) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(from));
  std::vector<std::int16_t> window(kWindowFrames * 2);
  const double crossings = 2.0 * hz * kWindowFrames / kRate;
  while (in.read(reinterpret_cast<char*>(window.data()),
                 static_cast<std::streamsize>(window.size() * sizeof(std::int16_t)))) {
    from += window.size() * sizeof(std::int16_t);
    int peak = 0;
    int counted = 0;
    for (std::size_t i = 2; i < window.size(); i += 2) {  // the left channel
      peak = std::max(peak, std::abs(static_cast<int>(window[i])));
      counted += (window[i - 2] < 0) != (window[i] < 0) ? 1 : 0;
    }
    if (peak > kLoud && std::abs(counted - crossings) < crossings / 8) {
      return true;
    }
  }
  return false;
}

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The program is made after the station is there, as a person would find it.
std::string StartTone(fixture::Icecast& icecast) {
  icecast.StartMp3Tone("/tone.mp3", kToneHz, 600, "Tone 440");
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  return icecast.Url("/tone.mp3");
}

}  // namespace

ToneStation::ToneStation(bool onSoundServer)
    : soundServer(onSoundServer ? StartSoundServer(serverFolder) : nullptr),
      url(StartTone(icecast)),
      session(SessionOptions(onSoundServer)),
      sound{session.soundFile(), false} {
  if (onSoundServer) {
    sound = {serverFolder.File("sink.raw"), true};
    const int output = open(sound.file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    recorder = std::make_unique<fixture::ChildProcess>(
        std::vector<std::string>{"parec", "-d", "tunedeck.monitor", "--raw", "--format=s16le",
                                 "--rate=44100", "--channels=2", "--latency-msec=10"},
        fixture::ChildProcess::Options{.standardOutput = output});
    close(output);
  }
  session.TapRow(ID_GENRE_LIST, e2e::toneGenreRow);
  headless::RunFor(3s);
}

double PeerStartToSound(const std::vector<std::string>& arguments, const std::string& out,
                        bool toStdout) {
  std::remove(out.c_str());
  const int output = toStdout ? open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
  const Clock::time_point start = Clock::now();
  fixture::ChildProcess peer(arguments, {.standardOutput = output});
  if (output >= 0) {
    close(output);
  }
  // A wave file opens with a 44-byte header.
  const std::size_t header = toStdout ? 0 : 44;
  while (!HasSound(out, header) && Clock::now() - start < 20s) {
    if (peer.Ended()) {
      return -1;
    }
    std::this_thread::sleep_for(2ms);
  }
  const double ms = MsSince(start);
  peer.Signal(SIGKILL);
  return ms;
}

void Silence(e2e::ProgramSession& session) {
  session.TapRow(ID_STATION_LIST, e2e::nowhereStationRow);
  session.WaitForStatus(L"not playing", 20s);
  session.WaitForTuneInEnd();
  headless::RunFor(3s);  // the last device closes (up to three periods on the disk driver)
}

double TapToSound(e2e::ProgramSession& session) {
  return TapToTone(session, {session.soundFile(), false}, e2e::toneStationRow, kToneHz);
}

double TapToTone(e2e::ProgramSession& session, const ProgramSound& sound, int row, int hz) {
  std::size_t from = 0;
  if (sound.recorded) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(sound.file, error);
    from = error ? 0 : static_cast<std::size_t>(bytes) / 4 * 4;  // a whole frame
  } else {
    std::remove(sound.file.c_str());
  }
  const Clock::time_point tap = Clock::now();
  session.TapRow(ID_STATION_LIST, row);
  while (!HasTone(sound.file, from, hz) && Clock::now() - tap < 20s) {
    headless::RunFor(2ms);
  }
  return MsSince(tap);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string Spread(std::vector<double> values) {
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  char text[80];
  std::snprintf(text, sizeof text, "%.0f ms (%.0f-%.0f)", Median(values), *low, *high);
  return text;
}

}  // namespace bench
