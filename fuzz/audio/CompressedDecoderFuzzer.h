// What the decoder fuzz targets share: the first byte picks the read size, the rest is the
// stream, decoded to its end. Any crash, hang or sanitizer report is a finding.
#pragma once

#include "audio/Decoder.h"

#include <algorithm>
#include <cstring>

namespace fuzzing {

class FuzzSource final : public audio::ByteSource {
 public:
  FuzzSource(const std::uint8_t* data, std::size_t size, std::size_t piece)
      : data_(data), size_(size), piece_(piece) {}
  std::size_t Read(std::uint8_t* out, std::size_t max) override {
    std::size_t n = std::min({max, piece_, size_ - at_});
    std::memcpy(out, data_ + at_, n);
    at_ += n;
    return n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t piece_;
  std::size_t at_ = 0;
};

template <typename Make>
int DecodeAll(const std::uint8_t* data, std::size_t size, Make make) {
  if (size < 1) {
    return 0;
  }
  FuzzSource source(data + 1, size - 1, std::size_t{data[0]} * 16 + 1);
  std::unique_ptr<audio::Decoder> decoder = make(source);
  audio::DecodedBlock block;
  while (decoder->Next(block)) {
    if (block.format.rate <= 0 || block.format.channels <= 0) {
      __builtin_trap();
    }
  }
  return 0;
}

}  // namespace fuzzing
