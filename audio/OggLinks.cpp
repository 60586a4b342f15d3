#include "audio/OggLinks.h"

#include <algorithm>
#include <cstring>

namespace audio {

namespace {

// Input without a single page, or without a link's first page, before the stream counts as not
// Ogg.
constexpr std::size_t kMaxBytesWithoutPage = 256 * 1024;
// First pages in one group (logical streams multiplexed into one link) that are looked at.
constexpr int kMaxFirstPages = 16;
constexpr std::size_t kReadBytes = 4096;

void Append(std::vector<std::uint8_t>& pages, const ogg_page& page) {
  pages.insert(pages.end(), page.header, page.header + page.header_len);
  pages.insert(pages.end(), page.body, page.body + page.body_len);
}

}  // namespace

OggCodec CodecOfFirstPacket(std::span<const std::uint8_t> packet) noexcept {
  auto startsWith = [packet](const char* magic, std::size_t length) {
    return packet.size() >= length && std::memcmp(packet.data(), magic, length) == 0;
  };
  if (startsWith("\x01vorbis", 7)) {
    return OggCodec::Vorbis;
  }
  if (startsWith("OpusHead", 8)) {
    return OggCodec::Opus;
  }
  return OggCodec::None;
}

OggLinks::OggLinks(ByteSource& source) : source_(source) {
  ogg_sync_init(&sync_);
}

OggLinks::~OggLinks() {
  ogg_sync_clear(&sync_);
}

bool OggLinks::NextPage(std::vector<std::uint8_t>& pages, bool& first, OggCodec& codec) {
  std::size_t without = 0;
  for (;;) {
    ogg_page page;
    int result = ogg_sync_pageout(&sync_, &page);
    if (result == 1) {
      first = ogg_page_bos(&page) != 0;
      // A first page holds exactly the identification header.
      codec = first ? CodecOfFirstPacket({page.body, static_cast<std::size_t>(page.body_len)})
                    : OggCodec::None;
      Append(pages, page);
      return true;
    }
    if (ended_ || without > kMaxBytesWithoutPage) {
      ended_ = true;
      return false;
    }
    char* space = ogg_sync_buffer(&sync_, kReadBytes);
    std::size_t got =
        space != nullptr ? source_.Read(reinterpret_cast<std::uint8_t*>(space), kReadBytes) : 0;
    if (got == 0) {
      ended_ = true;
      continue;  // pages already in the sync buffer still come out
    }
    ogg_sync_wrote(&sync_, static_cast<long>(got));
    without += got;
  }
}

OggCodec OggLinks::FinishGroup(std::vector<std::uint8_t>& pages, OggCodec codec) {
  bool first = true;
  OggCodec pageCodec = OggCodec::None;
  for (int firstPages = 1; first && firstPages <= kMaxFirstPages; ++firstPages) {
    if (!NextPage(pages, first, pageCodec)) {
      break;
    }
    if (codec == OggCodec::None) {
      codec = pageCodec;
    }
  }
  return codec;
}

OggCodec OggLinks::NextRun() {
  pending_.clear();
  pendingAt_ = 0;
  if (!nextRun_.empty()) {
    pending_.swap(nextRun_);
    codec_ = nextCodec_;
    nextCodec_ = OggCodec::None;
    return codec_;
  }
  // Pages before the first link's first page belong to nothing we can play: dropped, but only
  // so many.
  bool first = false;
  OggCodec pageCodec = OggCodec::None;
  for (std::size_t dropped = 0; !first; dropped += pending_.size()) {
    pending_.clear();
    if (dropped > kMaxBytesWithoutPage || !NextPage(pending_, first, pageCodec)) {
      pending_.clear();
      return codec_ = OggCodec::None;
    }
  }
  return codec_ = FinishGroup(pending_, pageCodec);
}

std::size_t OggLinks::Read(std::uint8_t* out, std::size_t max) {
  while (pendingAt_ == pending_.size()) {
    if (codec_ == OggCodec::None || !nextRun_.empty()) {
      return 0;
    }
    pending_.clear();
    pendingAt_ = 0;
    bool first = false;
    OggCodec pageCodec = OggCodec::None;
    if (!NextPage(pending_, first, pageCodec)) {
      return 0;
    }
    if (first) {
      // A new link: its group of first pages decides whether this run goes on.
      OggCodec codec = FinishGroup(pending_, pageCodec);
      if (codec != codec_) {
        nextRun_.swap(pending_);
        pending_.clear();
        nextCodec_ = codec;
        return 0;
      }
    }
  }
  std::size_t n = std::min(max, pending_.size() - pendingAt_);
  std::memcpy(out, pending_.data() + pendingAt_, n);
  pendingAt_ += n;
  return n;
}

}  // namespace audio
