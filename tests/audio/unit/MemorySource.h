// Codec fixture files and a byte source that hands them out in pieces, for the engine's
// parsers and decoders.
#pragma once

#include "audio/Decoder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace audio {

// The named files of the codec fixtures, one after another ("a.aac+b.aac").
inline std::vector<std::uint8_t> Fixture(const std::string& names) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t at = 0; at <= names.size();) {
    std::size_t plus = std::min(names.find('+', at), names.size());
    std::ifstream in(
        std::string(TUNEDECK_FIXTURES) + "/audio/codecs/" + names.substr(at, plus - at),
        std::ios::binary);
    bytes.insert(bytes.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    at = plus + 1;
  }
  return bytes;
}

// Hands out `bytes` in pieces of at most `piece`, then the end.
class MemorySource final : public ByteSource {
 public:
  MemorySource(std::vector<std::uint8_t> bytes, std::size_t piece)
      : bytes_(std::move(bytes)), piece_(piece) {}
  std::size_t Read(std::uint8_t* out, std::size_t max) override {
    std::size_t n = std::min({max, piece_, bytes_.size() - at_});
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), n, out);
    at_ += n;
    return n;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t piece_;
  std::size_t at_ = 0;
};

}  // namespace audio
