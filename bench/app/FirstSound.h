// Measures shared by the start-up and first-sound benchmarks: when a player's first sound comes,
// and the median and spread of repeated runs.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/ProgramSession.h"
#include "tests/support/Icecast.h"

namespace bench {

// A 440 Hz MP3 tone on a local Icecast under the tone genre's host, and the program in this
// process with that genre's stations on its screen, once the source is up and its burst full.
struct ToneStation {
  ToneStation();
  fixture::Icecast icecast;
  std::string url;
  e2e::ProgramSession session;
};

// A peer player started on a stream, its samples going to `out` (a wave file, or its standard
// output when `toStdout`); ms from its start to its first sound, -1 when it could not be run.
double PeerStartToSound(const std::vector<std::string>& arguments, const std::string& out,
                        bool toStdout);

// The session's station list shows the tone genre: a silent station tuned in and ended, and a
// second for the sound device to fall asleep.
void Silence(e2e::ProgramSession& session);
// After Silence: ms from a tap on the tone station to its first sound on the disk audio device.
double TapToSound(e2e::ProgramSession& session);

// Median, lowest and highest of a run's figures, as "median (low-high)" in ms.
std::string Spread(std::vector<double> values);
double Median(std::vector<double> values);

}  // namespace bench
