#include "tests/audio/common/EngineSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

namespace enginetest {

EngineSession::EngineSession(bool realTime) : soundFile_(dir_.File("sound.raw")) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
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
}

EngineSession::~EngineSession() {
  BASS_Free();
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
  Call call{sync, channel, {}, 0, std::chrono::steady_clock::now()};
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
  std::error_code error;
  auto bytes = std::filesystem::file_size(log.soundFile_, error);
  call.framesWritten = error ? 0 : static_cast<std::size_t>(bytes / 4);
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
