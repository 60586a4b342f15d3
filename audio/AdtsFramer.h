// AAC in ADTS framing: each frame starts with a 7-byte header (9 with a checksum) that tells its
// length. The framer finds whole frames in a byte stream that may start mid-frame or carry
// damage, and hands them out one at a time. Runs on the decoding thread.
#pragma once

#include "audio/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace audio {

constexpr std::size_t kAdtsHeaderBytes = 7;

struct AdtsHeader {
  int objectType = 0;     // MPEG-4 audio object type (2 = AAC LC)
  int rateIndex = 0;      // sampling frequency index, 0..12
  int channelConfig = 0;  // 0: given in the frame; 1..7
  std::size_t headerBytes = kAdtsHeaderBytes;
  std::size_t frameBytes = 0;  // the whole frame, header included
  int blocks = 1;              // raw data blocks of 1024 samples each

  long SampleRate() const noexcept;  // of the core coder: HE-AAC doubles it when decoded
  bool SameStream(const AdtsHeader& other) const noexcept;
};

// The header at the start of `bytes`, or none when they do not begin with a possible one.
std::optional<AdtsHeader> ParseAdtsHeader(std::span<const std::uint8_t> bytes) noexcept;

class AdtsFramer {
 public:
  explicit AdtsFramer(ByteSource& source) : source_(source) {}

  // The next whole frame, header included, valid until the next call. Empty at the end of the
  // input, and when no frame turns up in a stretch of input long enough to rule ADTS out.
  std::span<const std::uint8_t> Next();
  // Bytes read from the source that are not part of a frame handed out yet.
  std::size_t Pending() const noexcept { return buffer_.size() - start_; }
  // The bit rate of the frames handed out so far, in kbit/s; 0 before the first.
  unsigned Kbps() const noexcept;

 private:
  // Makes at least `bytes` available from `start_`; false when the input ends first.
  bool Fill(std::size_t bytes);
  // A header at `at` that the frame after it confirms (or that ends the input).
  std::optional<AdtsHeader> ConfirmedHeaderAt(std::size_t at);

  ByteSource& source_;
  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;  // first byte not handed out
  std::optional<AdtsHeader> locked_;
  std::size_t skipped_ = 0;  // bytes passed over since the last good frame
  std::uint64_t frameBytes_ = 0;
  std::uint64_t frameSamples_ = 0;
  long rate_ = 0;
};

}  // namespace audio
