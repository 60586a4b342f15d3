#include "platform/SystemRecords.h"

#include <unistd.h>

#include <atomic>

#include "platform/Mutex.h"
#include "platform/Win32.h"

namespace winsys {
namespace {

struct Records {
  Mutex mutex;
  std::vector<MessageBoxRecord> boxes GUARDED_BY(mutex);
  int answer GUARDED_BY(mutex) = IDOK;
  std::wstring modulePath GUARDED_BY(mutex);
  std::string channel GUARDED_BY(mutex);
};

Records& State() {
  static auto* records = new Records;  // lives until the process ends
  return *records;
}

std::atomic<int> beeps{0};

}  // namespace

int RecordMessageBox(const MessageBoxRecord& record) {
  MutexLock lock(State().mutex);
  State().boxes.push_back(record);
  return State().answer;
}

std::vector<MessageBoxRecord> RecordedMessageBoxes() {
  MutexLock lock(State().mutex);
  return State().boxes;
}

void SetMessageBoxAnswer(int answer) {
  MutexLock lock(State().mutex);
  State().answer = answer;
}

void ClearRecordedMessageBoxes() {
  MutexLock lock(State().mutex);
  State().boxes.clear();
}

void RecordBeep() {
  ++beeps;
}

int RecordedBeeps() {
  return beeps.load();
}

std::wstring ModulePathOverride() {
  MutexLock lock(State().mutex);
  return State().modulePath;
}

void SetModulePathOverride(const std::wstring& path) {
  MutexLock lock(State().mutex);
  State().modulePath = path;
}

std::string InstanceChannel() {
  MutexLock lock(State().mutex);
  if (!State().channel.empty()) {
    return State().channel;
  }
  return "tunedeck-" + std::to_string(getuid());
}

void SetInstanceChannelOverride(const std::string& name) {
  MutexLock lock(State().mutex);
  State().channel = name;
}

}  // namespace winsys
