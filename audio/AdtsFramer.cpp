#include "audio/AdtsFramer.h"

#include <algorithm>
#include <array>

namespace audio {

namespace {

// Input passed over without finding a frame before the stream counts as not ADTS: MP3 or
// garbage sent as AAC ends here rather than being searched for ever.
constexpr std::size_t kMaxSkippedBytes = 64 * 1024;
constexpr std::size_t kReadBytes = 2048;
constexpr std::array<long, 13> kSampleRates = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                               22050, 16000, 12000, 11025, 8000,  7350};

}  // namespace

long AdtsHeader::SampleRate() const noexcept {
  return kSampleRates[static_cast<std::size_t>(rateIndex)];
}

bool AdtsHeader::SameStream(const AdtsHeader& other) const noexcept {
  return objectType == other.objectType && rateIndex == other.rateIndex &&
         channelConfig == other.channelConfig;
}

std::optional<AdtsHeader> ParseAdtsHeader(std::span<const std::uint8_t> b) noexcept {
  // 12 sync bits, then the MPEG version bit and a layer that must be 0.
  if (b.size() < kAdtsHeaderBytes || b[0] != 0xFF || (b[1] & 0xF6) != 0xF0) {
    return std::nullopt;
  }
  AdtsHeader h;
  h.headerBytes = (b[1] & 0x01) != 0 ? kAdtsHeaderBytes : kAdtsHeaderBytes + 2;
  h.objectType = (b[2] >> 6) + 1;
  h.rateIndex = (b[2] >> 2) & 0x0F;
  h.channelConfig = ((b[2] & 0x01) << 2) | (b[3] >> 6);
  h.frameBytes = (static_cast<std::size_t>(b[3] & 0x03) << 11) |
                 (static_cast<std::size_t>(b[4]) << 3) | (b[5] >> 5);
  h.blocks = (b[6] & 0x03) + 1;
  if (h.rateIndex >= static_cast<int>(kSampleRates.size()) || h.frameBytes <= h.headerBytes) {
    return std::nullopt;
  }
  return h;
}

unsigned AdtsFramer::Kbps() const noexcept {
  if (frameSamples_ == 0) {
    return 0;
  }
  return static_cast<unsigned>(frameBytes_ * 8 * static_cast<std::uint64_t>(rate_) / frameSamples_ /
                               1000);
}

bool AdtsFramer::Fill(std::size_t bytes) {
  while (buffer_.size() - start_ < bytes) {
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
      buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
      start_ = 0;
    }
    std::size_t old = buffer_.size();
    buffer_.resize(old + kReadBytes);
    std::size_t got = source_.Read(buffer_.data() + old, kReadBytes);
    buffer_.resize(old + got);
    if (got == 0) {
      return false;
    }
  }
  return true;
}

std::optional<AdtsHeader> AdtsFramer::ConfirmedHeaderAt(std::size_t at) {
  if (!Fill(at + kAdtsHeaderBytes)) {
    return std::nullopt;
  }
  std::optional<AdtsHeader> h =
      ParseAdtsHeader(std::span(buffer_).subspan(start_ + at, kAdtsHeaderBytes));
  if (!h) {
    return std::nullopt;
  }
  if (locked_ && h->SameStream(*locked_)) {
    return h;
  }
  // A sync word can turn up anywhere in audio data: believe it only when the next frame's
  // header follows where this one says it ends.
  const std::size_t next = at + h->frameBytes;
  if (!Fill(next + kAdtsHeaderBytes)) {
    return Fill(next) ? h : std::nullopt;
  }
  std::optional<AdtsHeader> after =
      ParseAdtsHeader(std::span(buffer_).subspan(start_ + next, kAdtsHeaderBytes));
  if (after && after->SameStream(*h)) {
    return h;
  }
  return std::nullopt;
}

std::span<const std::uint8_t> AdtsFramer::Next() {
  for (;;) {
    std::optional<AdtsHeader> h = ConfirmedHeaderAt(0);
    if (h && Fill(h->frameBytes)) {
      locked_ = h;
      skipped_ = 0;
      rate_ = h->SampleRate();
      frameBytes_ += h->frameBytes;
      frameSamples_ += static_cast<std::uint64_t>(h->blocks) * 1024;
      std::span<const std::uint8_t> frame(buffer_.data() + start_, h->frameBytes);
      start_ += h->frameBytes;
      return frame;
    }
    // Lost: search on byte by byte, for a frame of any stream.
    locked_.reset();
    if (buffer_.size() == start_ || ++skipped_ > kMaxSkippedBytes) {
      return {};
    }
    ++start_;
  }
}

}  // namespace audio
