// Takes ICY in-band metadata out of a stream's bytes: after every `metaint` audio bytes comes
// one length byte L and L*16 bytes of metadata text (NUL-padded). Blocks may be split across
// any number of reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace audio {

class IcyDemuxer {
 public:
  // metaint 0: the bytes carry no metadata and pass through unchanged.
  explicit IcyDemuxer(std::size_t metaint) noexcept : metaint_(metaint), audioLeft_(metaint) {}

  struct Output {
    std::vector<std::uint8_t> audio;  // the audio bytes of this read, in order
    // Each non-empty metadata text, with the number of audio bytes of this read before it.
    std::vector<std::pair<std::size_t, std::string>> metadata;
  };

  // Splits one read. The text of a block ends at its first NUL (or at the block's end).
  Output Feed(std::span<const std::uint8_t> data);

 private:
  enum class State { Audio, Length, Text };
  std::size_t metaint_;
  State state_ = State::Audio;
  std::size_t audioLeft_;
  std::size_t textLeft_ = 0;
  std::string text_;
};

}  // namespace audio
