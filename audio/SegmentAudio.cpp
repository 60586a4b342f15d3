// Which container a segment is, by its first bytes; packed audio is handled here.
#include "audio/SegmentAudio.h"

#include "audio/CodecChoice.h"
#include "audio/Id3Title.h"
#include "audio/Mp4Fragments.h"

namespace audio {

namespace {

constexpr std::uint8_t kTsSync = 0x47;
constexpr std::size_t kTsPacketBytes = 188;

bool LooksLikeTransportStream(std::span<const std::uint8_t> s) {
  return s.size() >= 2 * kTsPacketBytes && s[0] == kTsSync && s[kTsPacketBytes] == kTsSync;
}

// Raw ADTS or MP3 frames, each run of them headed by an ID3 tag with the segment's time and
// perhaps its title.
bool AudioOfPackedAudio(std::span<const std::uint8_t> segment, SegmentAudio& out) {
  std::optional<std::string> title;
  while (std::size_t tag = Id3TagBytes(segment)) {
    if (tag > segment.size()) {
      return false;
    }
    if (std::optional<std::string> named = StreamTitleFromId3(segment.first(tag))) {
      title = std::move(named);
    }
    segment = segment.subspan(tag);
  }
  if (!SniffCodec(segment, out.codec)) {
    return false;
  }
  out.bytes.assign(segment.begin(), segment.end());
  if (title) {
    out.titles.push_back({0, std::move(*title)});
  }
  return true;
}

}  // namespace

bool AudioOfSegment(std::span<const std::uint8_t> segment, const Mp4Track* track,
                    SegmentAudio& out) {
  out = SegmentAudio{};
  if (LooksLikeTransportStream(segment)) {
    return AudioOfTransportStream(segment, out);
  }
  if (track != nullptr) {
    return AudioOfFragments(segment, *track, out);
  }
  return AudioOfPackedAudio(segment, out);
}

}  // namespace audio
