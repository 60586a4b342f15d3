// What the whole-player benchmarks share: the program's own message loop run for a while, as
// the real program runs it (the headless screen's RunFor would look at its condition every few
// milliseconds and cost processor time of its own), and this process's processor time.
#pragma once

#include <chrono>

namespace bench {

// Runs GetMessageW/DispatchMessageW until a timer of a window of ours ends the loop.
void RunProgramLoopFor(std::chrono::seconds time);

// User and system time of this process so far.
double ProcessCpuSeconds();

}  // namespace bench
