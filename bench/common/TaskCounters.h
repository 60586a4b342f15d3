// What the kernel counts for each thread of a running process, read from /proc: wake-ups (the
// voluntary context switches of a thread that slept and was woken), preemptions (involuntary
// ones, which a loaded machine adds) and processor time to the nanosecond (schedstat), so that
// short spans of a frugal player are not lost in the 10 ms ticks of rusage.
#pragma once

#include <map>
#include <string>

namespace bench {

struct TaskCounters {
  std::string name;  // the thread's name
  long wakeUps = 0;
  long preempted = 0;
  double cpuSeconds = 0;
};

// By thread id, for `process` ("self" or a pid); empty once it has gone.
std::map<std::string, TaskCounters> ReadTasks(const std::string& process);

// What `process`'s threads counted since `before` (threads that came since count from 0), and
// the wake-ups by thread name, " name:count" for each that woke.
struct TasksSince {
  TaskCounters total;
  std::string wakeUpsByThread;
};
TasksSince CountSince(const std::map<std::string, TaskCounters>& before,
                      const std::string& process);

// The most memory `process` has had resident, in MB; 0 once it has gone.
double PeakRssMb(const std::string& process);

}  // namespace bench
