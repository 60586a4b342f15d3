#include "bench/common/TaskCounters.h"

#include <filesystem>
#include <fstream>

namespace bench {

std::map<std::string, TaskCounters> ReadTasks(const std::string& process) {
  std::map<std::string, TaskCounters> tasks;
  std::error_code gone;
  for (const auto& task : std::filesystem::directory_iterator("/proc/" + process + "/task", gone)) {
    TaskCounters counters;
    std::ifstream status(task.path() / "status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.starts_with("voluntary_ctxt_switches:")) {
        counters.wakeUps = std::stol(line.substr(line.find(':') + 1));
      } else if (line.starts_with("nonvoluntary_ctxt_switches:")) {
        counters.preempted = std::stol(line.substr(line.find(':') + 1));
      }
    }
    std::ifstream schedstat(task.path() / "schedstat");  // first field: nanoseconds running
    double nanoseconds = 0;
    schedstat >> nanoseconds;
    counters.cpuSeconds = nanoseconds / 1e9;
    std::ifstream comm(task.path() / "comm");
    std::getline(comm, counters.name);
    tasks[task.path().filename()] = counters;
  }
  return tasks;
}

TasksSince CountSince(const std::map<std::string, TaskCounters>& before,
                      const std::string& process) {
  TasksSince since;
  for (const auto& [id, now] : ReadTasks(process)) {
    auto old = before.find(id);
    const TaskCounters start = old == before.end() ? TaskCounters{} : old->second;
    const long wakeUps = now.wakeUps - start.wakeUps;
    since.total.wakeUps += wakeUps;
    since.total.preempted += now.preempted - start.preempted;
    since.total.cpuSeconds += now.cpuSeconds - start.cpuSeconds;
    if (wakeUps > 0) {
      since.wakeUpsByThread += " " + now.name + ":" + std::to_string(wakeUps);
    }
  }
  return since;
}

double PeakRssMb(const std::string& process) {
  std::ifstream status("/proc/" + process + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmHWM:")) {
      return std::stod(line.substr(line.find(':') + 1)) / 1024;
    }
  }
  return 0;
}

}  // namespace bench
