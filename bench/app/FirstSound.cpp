#include "bench/app/FirstSound.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

constexpr std::int16_t kLoud = 300;  // the tone, not the silence around it

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

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The program is made after the station is there, as a person would find it.
std::string StartTone(fixture::Icecast& icecast) {
  icecast.StartMp3Tone("/tone.mp3", 440, 600, "Tone 440");
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  return icecast.Url("/tone.mp3");
}

}  // namespace

ToneStation::ToneStation() : url(StartTone(icecast)) {
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
  headless::RunFor(1s);
}

double TapToSound(e2e::ProgramSession& session) {
  std::remove(session.soundFile().c_str());  // the device, asleep, makes it anew
  const Clock::time_point tap = Clock::now();
  session.TapRow(ID_STATION_LIST, e2e::toneStationRow);
  while (!HasSound(session.soundFile(), 0) && Clock::now() - tap < 20s) {
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
