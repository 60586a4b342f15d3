// MPEG-TS as HLS segments carry it: the program map names one audio stream (AAC in ADTS, or
// MP3) and perhaps an ID3 metadata stream; their PES payloads are joined, and each ID3 tag is
// placed at the audio whose presentation time it shares.
#include "audio/Id3Title.h"
#include "audio/SegmentAudio.h"

#include <map>

namespace audio {

namespace {

constexpr std::size_t kPacketBytes = 188;
constexpr std::uint8_t kSync = 0x47;
constexpr unsigned kPatPid = 0;
constexpr std::uint8_t kStreamTypeMp3[] = {0x03, 0x04};
constexpr std::uint8_t kStreamTypeAdts = 0x0F;
constexpr std::uint8_t kStreamTypeMetadata = 0x15;
constexpr std::int64_t kPtsWrap = std::int64_t{1} << 33;

struct Pes {
  std::optional<std::int64_t> pts;
  std::vector<std::uint8_t> payload;
};

// The entries of a PSI section (PAT or PMT) starting at a payload with its pointer field.
std::span<const std::uint8_t> SectionBody(std::span<const std::uint8_t> payload,
                                          std::size_t fixedBytes) {
  if (payload.empty() || std::size_t{payload[0]} + 4 > payload.size()) {
    return {};
  }
  payload = payload.subspan(1 + payload[0]);
  const std::size_t length = std::size_t(payload[1] & 0x0F) << 8 | payload[2];
  // After the length: the fixed fields, the entries, a 4-byte checksum.
  if (length < fixedBytes + 4 || 3 + length > payload.size()) {
    return {};
  }
  return payload.subspan(3 + fixedBytes, length - fixedBytes - 4);
}

std::optional<std::int64_t> PtsOf(std::span<const std::uint8_t> header) {
  if (header.size() < 14 || (header[7] & 0x80) == 0) {
    return std::nullopt;
  }
  const std::uint8_t* p = &header[9];
  return (std::int64_t(p[0] >> 1 & 0x07) << 30) | (std::int64_t(p[1]) << 22) |
         (std::int64_t(p[2] >> 1) << 15) | (std::int64_t(p[3]) << 7) | std::int64_t(p[4] >> 1);
}

// A PES packet's payload and time; none when it does not begin like one.
std::optional<Pes> ParsePes(std::span<const std::uint8_t> pes) {
  if (pes.size() < 9 || pes[0] != 0 || pes[1] != 0 || pes[2] != 1 || 9u + pes[8] > pes.size()) {
    return std::nullopt;
  }
  const std::span<const std::uint8_t> payload = pes.subspan(9u + pes[8]);
  return Pes{PtsOf(pes), {payload.begin(), payload.end()}};
}

// `a` is at or after `b`, across the 33-bit wrap.
bool NotBefore(std::int64_t a, std::int64_t b) {
  const std::int64_t d = ((a - b) % kPtsWrap + kPtsWrap) % kPtsWrap;
  return d < kPtsWrap / 2;
}

class Demuxer {
 public:
  bool Run(std::span<const std::uint8_t> ts, SegmentAudio& out) {
    for (std::size_t at = 0; at + kPacketBytes <= ts.size(); at += kPacketBytes) {
      if (ts[at] != kSync) {
        return false;  // lost the packet grid: the rest is not trustworthy
      }
      Packet(ts.subspan(at, kPacketBytes));
    }
    FinishPes(audioPid_);
    FinishPes(metaPid_);
    if (!audioPid_) {
      return false;
    }
    out.codec = codec_;
    out.bytes = std::move(audio_);
    for (auto& [pts, text] : tags_) {
      out.titles.push_back({OffsetAt(pts), std::move(text)});
    }
    return true;
  }

 private:
  void Packet(std::span<const std::uint8_t> p) {
    const bool unitStart = (p[1] & 0x40) != 0;
    const unsigned pid = unsigned(p[1] & 0x1F) << 8 | p[2];
    const unsigned control = p[3] >> 4 & 0x03;
    std::size_t start = 4;
    if ((control & 0x02) != 0) {
      start += 1u + p[4];
    }
    if ((control & 0x01) == 0 || start >= p.size()) {
      return;
    }
    const std::span<const std::uint8_t> payload = p.subspan(start);
    if (pid == kPatPid && unitStart) {
      ReadPat(payload);
    } else if (pmtPid_ && pid == *pmtPid_ && unitStart && !audioPid_) {
      ReadPmt(payload);
    } else if ((audioPid_ && pid == *audioPid_) || (metaPid_ && pid == *metaPid_)) {
      if (unitStart) {
        FinishPes(pid);
      }
      if (unitStart || !open_[pid].empty()) {
        open_[pid].insert(open_[pid].end(), payload.begin(), payload.end());
      }
    }
  }

  void ReadPat(std::span<const std::uint8_t> payload) {
    const std::span<const std::uint8_t> entries = SectionBody(payload, 5);
    for (std::size_t i = 0; i + 4 <= entries.size(); i += 4) {
      const unsigned program = unsigned(entries[i]) << 8 | entries[i + 1];
      if (program != 0) {
        pmtPid_ = unsigned(entries[i + 2] & 0x1F) << 8 | entries[i + 3];
        return;
      }
    }
  }

  void ReadPmt(std::span<const std::uint8_t> payload) {
    std::span<const std::uint8_t> body = SectionBody(payload, 9);
    if (body.empty()) {
      return;
    }
    // The program info comes before the streams.
    const std::size_t infoBytes =
        std::size_t(payload[1 + payload[0] + 10] & 0x0F) << 8 | payload[1 + payload[0] + 11];
    if (infoBytes > body.size()) {
      return;
    }
    body = body.subspan(infoBytes);
    for (std::size_t i = 0; i + 5 <= body.size();) {
      const std::uint8_t type = body[i];
      const unsigned pid = unsigned(body[i + 1] & 0x1F) << 8 | body[i + 2];
      const std::size_t esInfo = std::size_t(body[i + 3] & 0x0F) << 8 | body[i + 4];
      if (!audioPid_ && type == kStreamTypeAdts) {
        audioPid_ = pid;
        codec_ = Codec::Aac;
      } else if (!audioPid_ && (type == kStreamTypeMp3[0] || type == kStreamTypeMp3[1])) {
        audioPid_ = pid;
        codec_ = Codec::Mp3;
      } else if (!metaPid_ && type == kStreamTypeMetadata) {
        metaPid_ = pid;
      }
      i += 5 + esInfo;
    }
  }

  void FinishPes(std::optional<unsigned> pid) {
    if (!pid) {
      return;
    }
    std::vector<std::uint8_t>& open = open_[*pid];
    std::optional<Pes> pes = ParsePes(open);
    open.clear();
    if (!pes) {
      return;
    }
    if (pid == audioPid_) {
      if (pes->pts) {
        audioTimes_.push_back({*pes->pts, audio_.size()});
      }
      audio_.insert(audio_.end(), pes->payload.begin(), pes->payload.end());
    } else if (std::optional<std::string> title = StreamTitleFromId3(pes->payload)) {
      tags_.push_back({pes->pts, std::move(*title)});
    }
  }

  // Where the audio presented at `pts` begins; without a time, the segment's start.
  std::size_t OffsetAt(std::optional<std::int64_t> pts) const {
    if (!pts) {
      return 0;
    }
    for (const auto& [time, offset] : audioTimes_) {
      if (NotBefore(time, *pts)) {
        return offset;
      }
    }
    return audio_.size();
  }

  std::optional<unsigned> pmtPid_;
  std::optional<unsigned> audioPid_;
  std::optional<unsigned> metaPid_;
  Codec codec_ = Codec::Aac;
  std::map<unsigned, std::vector<std::uint8_t>> open_;  // PES packets still arriving, by PID
  std::vector<std::uint8_t> audio_;
  std::vector<std::pair<std::int64_t, std::size_t>> audioTimes_;  // PES start times, offsets
  std::vector<std::pair<std::optional<std::int64_t>, std::string>> tags_;
};

}  // namespace

bool AudioOfTransportStream(std::span<const std::uint8_t> segment, SegmentAudio& out) {
  return Demuxer().Run(segment, out);
}

}  // namespace audio
