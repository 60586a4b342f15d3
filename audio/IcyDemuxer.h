// Takes ICY in-band metadata out of a stream's bytes: after every `metaint` audio bytes comes
// one length byte L and L*16 bytes of metadata text (NUL-padded). Blocks may be split across
// any number of reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace audio {

class IcyDemuxer {
 public:
  // metaint 0: the bytes carry no metadata and pass through unchanged.
  explicit IcyDemuxer(std::size_t metaint) noexcept : metaint_(metaint), audioLeft_(metaint) {}

  // Each non-empty metadata text of a read, with the number of the read's audio bytes before it.
  using Texts = std::vector<std::pair<std::size_t, std::string>>;

  // Takes the metadata out of one read in place: its audio bytes move up to the front and
  // `bytes` ends after them. The text of a block ends at its first NUL (or at the block's end).
  Texts TakeOut(std::vector<std::uint8_t>& bytes);

 private:
  enum class State { Audio, Length, Text };
  std::size_t metaint_;
  State state_ = State::Audio;
  std::size_t audioLeft_;
  std::size_t textLeft_ = 0;
  std::string text_;
};

}  // namespace audio
