#include "platform/SystemRecords.h"

#include <unistd.h>

#include <atomic>
#include <mutex>

#include "platform/Win32.h"

namespace winsys {
namespace {

struct Records {
  std::mutex mutex;
  std::vector<MessageBoxRecord> boxes;
  int answer = IDOK;
  std::wstring modulePath;
  std::string channel;
};

Records& State() {
  static auto* records = new Records;  // lives until the process ends
  return *records;
}

std::atomic<int> beeps{0};

}  // namespace

int RecordMessageBox(const MessageBoxRecord& record) {
  std::lock_guard lock(State().mutex);
  State().boxes.push_back(record);
  return State().answer;
}

std::vector<MessageBoxRecord> RecordedMessageBoxes() {
  std::lock_guard lock(State().mutex);
  return State().boxes;
}

void SetMessageBoxAnswer(int answer) {
  std::lock_guard lock(State().mutex);
  State().answer = answer;
}

void ClearRecordedMessageBoxes() {
  std::lock_guard lock(State().mutex);
  State().boxes.clear();
}

void RecordBeep() {
  ++beeps;
}

int RecordedBeeps() {
  return beeps.load();
}

std::wstring ModulePathOverride() {
  std::lock_guard lock(State().mutex);
  return State().modulePath;
}

void SetModulePathOverride(const std::wstring& path) {
  std::lock_guard lock(State().mutex);
  State().modulePath = path;
}

std::string InstanceChannel() {
  std::lock_guard lock(State().mutex);
  if (!State().channel.empty()) {
    return State().channel;
  }
  return "tunedeck-" + std::to_string(getuid());
}

void SetInstanceChannelOverride(const std::string& name) {
  std::lock_guard lock(State().mutex);
  State().channel = name;
}

}  // namespace winsys
