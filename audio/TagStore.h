// Keeps the tag texts handed out by BASS_ChannelGetTags alive: a text stays valid after it is
// replaced until many newer ones have come, and for a while after its stream is freed.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

namespace audio {

class TagStore {
 public:
  TagStore() = default;
  ~TagStore();  // hands the texts to a small process-wide store of retired texts
  TagStore(const TagStore&) = delete;
  TagStore& operator=(const TagStore&) = delete;

  // A stable copy of `text`, valid at least until kKeep newer texts have been kept here.
  const char* Keep(std::string text);

  static constexpr std::size_t kKeep = 64;

 private:
  std::deque<std::unique_ptr<std::string>> texts_;
};

}  // namespace audio
