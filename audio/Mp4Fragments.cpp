#include "audio/Mp4Fragments.h"

#include "audio/Id3Title.h"

#include <string_view>
#include <vector>

namespace audio {

namespace {

constexpr std::uint8_t kObjectTypeAac = 0x40;
constexpr std::uint8_t kObjectTypesMp3[] = {0x69, 0x6B};
constexpr int kObjectTypeSbr = 5;
constexpr int kObjectTypePs = 29;
constexpr std::string_view kId3Schemes[] = {"https://aomedia.org/emsg/ID3",
                                            "https://developer.apple.com/streaming/emsg-id3"};

// A reader over a span that fails softly: past the end, every read gives 0 and ok() is false.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Uint(int n) {
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) {
      v = v << 8 | Byte();
    }
    return v;
  }
  std::uint8_t Byte() {
    if (at_ >= bytes_.size()) {
      ok_ = false;
      return 0;
    }
    return bytes_[at_++];
  }
  void Skip(std::size_t n) {
    if (n > bytes_.size() - at_) {
      ok_ = false;
      at_ = bytes_.size();
    } else {
      at_ += n;
    }
  }
  std::string_view CString() {
    const std::size_t start = at_;
    while (at_ < bytes_.size() && bytes_[at_] != 0) {
      ++at_;
    }
    const std::string_view s(reinterpret_cast<const char*>(bytes_.data() + start), at_ - start);
    Skip(1);
    return s;
  }
  std::span<const std::uint8_t> Rest() const { return bytes_.subspan(at_); }
  bool ok() const { return ok_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

struct Box {
  std::string_view type;
  std::span<const std::uint8_t> body;
  std::size_t start;  // of the box, within what was searched
};

// The boxes one after another in `bytes`; a box that overruns them ends the list.
std::vector<Box> Boxes(std::span<const std::uint8_t> bytes) {
  std::vector<Box> boxes;
  std::size_t at = 0;
  while (bytes.size() - at >= 8) {
    Reader r(bytes.subspan(at));
    std::uint64_t size = r.Uint(4);
    const std::string_view type(reinterpret_cast<const char*>(bytes.data() + at + 4), 4);
    r.Skip(4);
    std::size_t header = 8;
    if (size == 1) {
      size = r.Uint(8);
      header = 16;
    } else if (size == 0) {
      size = bytes.size() - at;
    }
    if (!r.ok() || size < header || size > bytes.size() - at) {
      break;
    }
    boxes.push_back({type, bytes.subspan(at + header, size - header), at});
    at += size;
  }
  return boxes;
}

std::span<const std::uint8_t> Child(std::span<const std::uint8_t> body, std::string_view type) {
  for (const Box& box : Boxes(body)) {
    if (box.type == type) {
      return box.body;
    }
  }
  return {};
}

// A descriptor of the esds box: its tag and body; the length may take up to four bytes.
bool Descriptor(Reader& r, std::uint8_t& tag, std::size_t& length) {
  tag = r.Byte();
  length = 0;
  for (int i = 0; i < 4; ++i) {
    const std::uint8_t b = r.Byte();
    length = length << 7 | (b & 0x7F);
    if ((b & 0x80) == 0) {
      break;
    }
  }
  return r.ok();
}

// The esds box's decoder configuration into `track`.
bool ReadEsds(std::span<const std::uint8_t> esds, Mp4Track& track) {
  Reader r(esds);
  r.Skip(4);  // version and flags
  std::uint8_t tag = 0;
  std::size_t length = 0;
  if (!Descriptor(r, tag, length) || tag != 0x03) {
    return false;
  }
  r.Skip(2);
  const std::uint8_t flags = r.Byte();
  if ((flags & 0x80) != 0) {
    r.Skip(2);
  }
  if ((flags & 0x40) != 0) {
    r.Skip(r.Byte());
  }
  if ((flags & 0x20) != 0) {
    r.Skip(2);
  }
  if (!Descriptor(r, tag, length) || tag != 0x04) {
    return false;
  }
  const std::uint8_t objectType = r.Byte();
  r.Skip(12);
  if (objectType == kObjectTypesMp3[0] || objectType == kObjectTypesMp3[1]) {
    track.codec = Codec::Mp3;
    return r.ok();
  }
  if (objectType != kObjectTypeAac || !Descriptor(r, tag, length) || tag != 0x05 || length < 2) {
    return false;
  }
  // AudioSpecificConfig: object type (5 bits), rate index (4), channels (4); for SBR and
  // parametric stereo the core's rate index and object type follow.
  std::uint32_t bits = static_cast<std::uint32_t>(r.Uint(4)) << 0;
  int used = 0;
  const auto take = [&bits, &used](int n) {
    const int v = static_cast<int>((bits >> (32 - used - n)) & ((1u << n) - 1));
    used += n;
    return v;
  };
  track.codec = Codec::Aac;
  track.objectType = take(5);
  track.rateIndex = take(4);
  if (track.rateIndex == 15) {
    return false;  // an explicit rate has no ADTS form
  }
  track.channelConfig = take(4);
  if (track.objectType == kObjectTypeSbr || track.objectType == kObjectTypePs) {
    take(4);  // the rate index with SBR; the ADTS header carries the core's
    track.objectType = take(5);
  }
  return track.objectType >= 1 && track.objectType <= 4 && track.channelConfig <= 7 &&
         track.rateIndex <= 12;
}

void AppendAdts(std::vector<std::uint8_t>& out, const Mp4Track& track,
                std::span<const std::uint8_t> frame) {
  const std::size_t length = frame.size() + 7;
  out.push_back(0xFF);
  out.push_back(0xF1);
  out.push_back(static_cast<std::uint8_t>(((track.objectType - 1) << 6) | (track.rateIndex << 2) |
                                          (track.channelConfig >> 2)));
  out.push_back(static_cast<std::uint8_t>(((track.channelConfig & 3) << 6) | (length >> 11)));
  out.push_back(static_cast<std::uint8_t>(length >> 3));
  out.push_back(static_cast<std::uint8_t>(((length & 7) << 5) | 0x1F));
  out.push_back(0xFC);
  out.insert(out.end(), frame.begin(), frame.end());
}

struct TimedTitle {
  double seconds;  // from the segment's start
  std::string text;
};

// An emsg box's title when it carries ID3 metadata, with its time from `segmentStart`.
std::optional<TimedTitle> TitleOfEmsg(std::span<const std::uint8_t> body, double segmentStart) {
  Reader r(body);
  const std::uint8_t version = r.Byte();
  r.Skip(3);
  std::string_view scheme;
  double seconds = 0;
  if (version == 0) {
    scheme = r.CString();
    r.CString();
    const std::uint64_t timescale = r.Uint(4);
    const std::uint64_t delta = r.Uint(4);
    seconds = timescale != 0 ? double(delta) / double(timescale) : 0;
    r.Skip(8);
  } else if (version == 1) {
    const std::uint64_t timescale = r.Uint(4);
    const std::uint64_t time = r.Uint(8);
    r.Skip(8);
    scheme = r.CString();
    r.CString();
    seconds = timescale != 0 ? double(time) / double(timescale) - segmentStart : 0;
  } else {
    return std::nullopt;
  }
  bool id3 = false;
  for (std::string_view known : kId3Schemes) {
    id3 = id3 || scheme == known;
  }
  if (!r.ok() || !id3) {
    return std::nullopt;
  }
  std::optional<std::string> title = StreamTitleFromId3(r.Rest());
  if (!title) {
    return std::nullopt;
  }
  return TimedTitle{seconds, std::move(*title)};
}

// One moof and the mdat after it: the samples, appended to `out`; `seconds` advances by their
// duration, and `starts` gets each sample's time and offset in `out`.
bool ReadFragment(std::span<const std::uint8_t> segment, const Box& moof, const Mp4Track& track,
                  SegmentAudio& out, std::vector<std::pair<double, std::size_t>>& starts,
                  double& seconds) {
  const std::span<const std::uint8_t> traf = Child(moof.body, "traf");
  Reader tfhd(Child(traf, "tfhd"));
  const std::uint32_t flags = static_cast<std::uint32_t>(tfhd.Uint(4)) & 0xFFFFFF;
  tfhd.Skip(4);  // track id
  std::uint64_t base = moof.start;
  if ((flags & 0x01) != 0) {
    base = tfhd.Uint(8);
  }
  if ((flags & 0x02) != 0) {
    tfhd.Skip(4);
  }
  const std::uint32_t defaultDuration =
      (flags & 0x08) != 0 ? static_cast<std::uint32_t>(tfhd.Uint(4)) : track.defaultDuration;
  const std::uint32_t defaultSize =
      (flags & 0x10) != 0 ? static_cast<std::uint32_t>(tfhd.Uint(4)) : track.defaultSize;
  if (!tfhd.ok()) {
    return false;
  }
  bool any = false;
  for (const Box& trunBox : Boxes(traf)) {
    if (trunBox.type != "trun") {
      continue;
    }
    Reader trun(trunBox.body);
    const std::uint32_t trunFlags = static_cast<std::uint32_t>(trun.Uint(4)) & 0xFFFFFF;
    const std::uint64_t count = trun.Uint(4);
    std::uint64_t at = base;
    if ((trunFlags & 0x01) != 0) {
      at = base + static_cast<std::int32_t>(trun.Uint(4));
    }
    if ((trunFlags & 0x04) != 0) {
      trun.Skip(4);
    }
    for (std::uint64_t i = 0; i < count && trun.ok(); ++i) {
      const std::uint64_t duration = (trunFlags & 0x100) != 0 ? trun.Uint(4) : defaultDuration;
      const std::uint64_t size = (trunFlags & 0x200) != 0 ? trun.Uint(4) : defaultSize;
      trun.Skip(((trunFlags & 0x400) != 0 ? 4 : 0) + ((trunFlags & 0x800) != 0 ? 4 : 0));
      if (!trun.ok() || at > segment.size() || size > segment.size() - at || size == 0) {
        return any;
      }
      starts.push_back({seconds, out.bytes.size()});
      const std::span<const std::uint8_t> sample = segment.subspan(at, size);
      if (track.codec == Codec::Aac) {
        AppendAdts(out.bytes, track, sample);
      } else {
        out.bytes.insert(out.bytes.end(), sample.begin(), sample.end());
      }
      at += size;
      seconds += track.timescale != 0 ? double(duration) / track.timescale : 0;
      any = true;
    }
  }
  return any;
}

}  // namespace

std::optional<Mp4Track> ParseInitSection(std::span<const std::uint8_t> init) {
  const std::span<const std::uint8_t> moov = Child(init, "moov");
  for (const Box& trak : Boxes(moov)) {
    if (trak.type != "trak") {
      continue;
    }
    const std::span<const std::uint8_t> mdia = Child(trak.body, "mdia");
    Reader mdhd(Child(mdia, "mdhd"));
    Mp4Track track;
    const std::uint8_t version = mdhd.Byte();
    mdhd.Skip(3 + (version == 1 ? 16 : 8));
    track.timescale = static_cast<std::uint32_t>(mdhd.Uint(4));
    const std::span<const std::uint8_t> entries = Child(Child(Child(mdia, "minf"), "stbl"), "stsd");
    if (entries.size() < 8 || !mdhd.ok()) {
      continue;
    }
    const std::span<const std::uint8_t> mp4a = Child(entries.subspan(8), "mp4a");
    // The audio sample entry: 28 bytes of fields before its own boxes.
    if (mp4a.size() < 28 || !ReadEsds(Child(mp4a.subspan(28), "esds"), track)) {
      continue;
    }
    for (const Box& trex : Boxes(Child(Child(init, "moov"), "mvex"))) {
      Reader r(trex.body);
      r.Skip(12);  // version, flags, track id, description index
      if (trex.type == "trex") {
        track.defaultDuration = static_cast<std::uint32_t>(r.Uint(4));
        track.defaultSize = static_cast<std::uint32_t>(r.Uint(4));
      }
    }
    return track;
  }
  return std::nullopt;
}

bool AudioOfFragments(std::span<const std::uint8_t> segment, const Mp4Track& track,
                      SegmentAudio& out) {
  out = SegmentAudio{};
  out.codec = track.codec;
  std::vector<std::pair<double, std::size_t>> starts;
  std::vector<std::span<const std::uint8_t>> messages;  // emsg bodies: read once the start is known
  double seconds = 0;
  double segmentStart = 0;
  bool any = false;
  for (const Box& box : Boxes(segment)) {
    if (box.type == "moof") {
      if (!any) {
        Reader tfdt(Child(Child(box.body, "traf"), "tfdt"));
        const std::uint8_t version = tfdt.Byte();
        tfdt.Skip(3);
        const std::uint64_t decodeTime = tfdt.Uint(version == 1 ? 8 : 4);
        segmentStart = track.timescale != 0 ? double(decodeTime) / track.timescale : 0;
      }
      any = ReadFragment(segment, box, track, out, starts, seconds) || any;
    } else if (box.type == "emsg") {
      messages.push_back(box.body);
    }
  }
  for (std::span<const std::uint8_t> message : messages) {
    std::optional<TimedTitle> title = TitleOfEmsg(message, segmentStart);
    if (!title) {
      continue;
    }
    std::size_t offset = out.bytes.size();
    for (const auto& [time, at] : starts) {
      if (time >= title->seconds - 1e-3) {
        offset = at;
        break;
      }
    }
    out.titles.push_back({offset, std::move(title->text)});
  }
  return any;
}

}  // namespace audio
