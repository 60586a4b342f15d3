#include "tests/audio/common/EngineSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace enginetest {

using namespace std::chrono_literals;

EngineSession::EngineSession(bool realTime, const char* driver)
    : soundFile_(dir_.File("sound.raw")) {
  setenv("SDL_AUDIODRIVER", driver, 1);
  setenv("SDL_DISKAUDIOFILE", soundFile_.c_str(), 1);
  if (realTime) {
    unsetenv("SDL_DISKAUDIODELAY");
  } else {
    setenv("SDL_DISKAUDIODELAY", "0", 1);
  }
  EXPECT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr)) << BASS_ErrorGetCode();
  BASS_SetConfig(BASS_CONFIG_NET_PLAYLIST, 1);
  BASS_SetConfig(BASS_CONFIG_NET_PREBUF, 0);
  BASS_SetConfig(BASS_CONFIG_NET_TIMEOUT, 5000);
  BASS_SetConfig(BASS_CONFIG_NET_READTIMEOUT, 15000);
  BASS_SetConfig(BASS_CONFIG_NET_BUFFER, 5000);
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT, 0);
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT_UNIT, 0);
  if (realTime) {
    watching_ = true;
    watcher_ = std::thread([this] { WatchSoundFile(); });
  }
}

EngineSession::~EngineSession() {
  BASS_Free();
  {
    std::lock_guard<std::mutex> hold(lock_);
    watching_ = false;
  }
  stopWatching_.notify_all();
  if (watcher_.joinable()) {
    watcher_.join();
  }
}

void EngineSession::WatchSoundFile() {
  std::unique_lock<std::mutex> hold(lock_);
  std::size_t last = 0;
  while (!stopWatching_.wait_for(hold, 1ms, [this] { return !watching_; })) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(soundFile_, error);
    const std::size_t frames = error ? 0 : static_cast<std::size_t>(bytes / 4);
    if (frames != last) {
      const auto now = std::chrono::steady_clock::now();
      // A period is written in several pieces, microseconds apart: one growth.
      if (!growths_.empty() && frames > last && now - growths_.back().when < 10ms) {
        growths_.back().frames = frames;
      } else {
        growths_.push_back({now, frames});
      }
      last = frames;
    }
  }
}

std::size_t EngineSession::HeardFramesAt(std::chrono::steady_clock::time_point when) const {
  std::lock_guard<std::mutex> hold(lock_);
  auto after = std::upper_bound(growths_.begin(), growths_.end(), when,
                                [](auto t, const Growth& g) { return t < g.when; });
  if (after == growths_.begin()) {
    return 0;
  }
  const Growth& period = *(after - 1);
  // A file that started afresh (the device opened again) had nothing before this period.
  const std::size_t before = after - 1 == growths_.begin() || (after - 2)->frames > period.frames
                                 ? 0
                                 : (after - 2)->frames;
  const auto into = std::chrono::duration<double>(when - period.when).count();
  return std::min(period.frames, before + static_cast<std::size_t>(into * 44100));
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::vector<std::string> TagLines(const char* block) {
  std::vector<std::string> lines;
  while (block != nullptr && *block != '\0') {
    lines.emplace_back(block);
    block += lines.back().size() + 1;
  }
  return lines;
}

void CALLBACK SyncLog::Record(HSYNC sync, DWORD channel, DWORD, void* user) {
  auto& log = *static_cast<SyncLog*>(user);
  Call call{sync, channel, {}, std::chrono::steady_clock::now()};
  if (const char* tag = BASS_ChannelGetTags(channel, log.tagType_)) {
    call.tag = log.tagType_ == BASS_TAG_OGG ? [&] {
      std::string joined;
      for (const std::string& line : TagLines(tag)) {
        joined += line + "\n";
      }
      return joined;
    }()
                                            : std::string(tag);
  }
  std::lock_guard<std::mutex> hold(log.lock_);
  log.calls_.push_back(std::move(call));
}

std::vector<SyncLog::Call> SyncLog::Calls() const {
  std::lock_guard<std::mutex> hold(lock_);
  return calls_;
}

std::size_t SyncLog::Count() const {
  std::lock_guard<std::mutex> hold(lock_);
  return calls_.size();
}

}  // namespace enginetest
