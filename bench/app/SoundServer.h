// A PulseAudio server of the benchmark's own, as on a desktop or a phone, for the player and the
// peers it is measured beside.
#pragma once

#include <memory>

#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace bench {

// A server with a null sink for each player (a sink shared would wake every player at the pace
// the most eager one asks for: "tunedeck", the default, "mpg123" and "mpv"), its socket in
// `folder`; PULSE_SERVER names it for the player and its peers. Throws std::runtime_error when it
// did not come up (scripts/install-deps --bench installs it).
std::unique_ptr<fixture::ChildProcess> StartSoundServer(const fixture::TempDir& folder);

// A program session's options: its sound to that server, or to the disk driver.
e2e::ProgramSession::Options SessionOptions(bool onSoundServer);

}  // namespace bench
