// Measures shared by the start-up and first-sound benchmarks: when a player's first sound comes,
// and the median and spread of repeated runs.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Icecast.h"
#include "tests/support/TempDir.h"

namespace bench {

constexpr int kToneHz = 440;  // the tone station's

// Where the program's sound is watched: the file of SDL's disk driver, which each device opened
// after a tap writes anew (so it is removed at the tap), or with `recorded` a recording of the
// sound server's sink, in which what came after the tap counts.
struct ProgramSound {
  std::string file;
  bool recorded = false;
};

// A 440 Hz MP3 tone on a local Icecast under the tone genre's host, and the program in this
// process with that genre's stations on its screen, once the source is up and its burst full.
// With `onSoundServer` the program plays to a PulseAudio server of its own (SoundServer.h), whose
// sink is recorded; a server that does not start throws.
struct ToneStation {
  explicit ToneStation(bool onSoundServer = false);
  fixture::TempDir serverFolder;
  std::unique_ptr<fixture::ChildProcess> soundServer;
  fixture::Icecast icecast;
  std::string url;
  e2e::ProgramSession session;
  std::unique_ptr<fixture::ChildProcess> recorder;
  ProgramSound sound;
};

// A peer player started on a stream, its samples going to `out` (a wave file, or its standard
// output when `toStdout`); ms from its start to its first sound, -1 when it could not be run.
double PeerStartToSound(const std::vector<std::string>& arguments, const std::string& out,
                        bool toStdout);

// The session's station list shows the tone genre: a silent station tuned in and ended, and a
// few seconds for the sound device to close.
void Silence(e2e::ProgramSession& session);
// After Silence: ms from a tap on the tone station to its first sound on the disk audio device.
double TapToSound(e2e::ProgramSession& session);
// Ms from a tap on `row` of the station list to the first sound of a tone of `hz` Hz.
double TapToTone(e2e::ProgramSession& session, const ProgramSound& sound, int row, int hz);

// Median, lowest and highest of a run's figures, as "median (low-high)" in ms.
std::string Spread(std::vector<double> values);
double Median(std::vector<double> values);

}  // namespace bench
