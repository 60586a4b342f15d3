// The audio of one HLS segment, out of its container: the codec's own frames (ADTS AAC or MP3),
// ready for the decoder, and the titles its timed metadata names, at the byte of that audio
// where they begin to apply.
#pragma once

#include "audio/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace audio {

struct SegmentAudio {
  struct Title {
    std::size_t offset;  // into `bytes`
    std::string text;    // StreamTitle='...';
  };
  Codec codec = Codec::Aac;
  std::vector<std::uint8_t> bytes;
  std::vector<Title> titles;
};

struct Mp4Track;

// MPEG-TS (AAC in ADTS or MP3, with an ID3 metadata stream), fragmented MP4 of `track` (when
// the playlist gave an initialisation section) or packed audio (ADTS or MP3, headed by an ID3
// tag). False when the segment holds none of them.
bool AudioOfSegment(std::span<const std::uint8_t> segment, const Mp4Track* track,
                    SegmentAudio& out);

// The transport stream part of the above.
bool AudioOfTransportStream(std::span<const std::uint8_t> segment, SegmentAudio& out);

}  // namespace audio
