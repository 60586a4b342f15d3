// Fragmented MP4 as HLS segments carry it: the initialisation section's audio track (AAC, whose
// AudioSpecificConfig gives each frame the ADTS header the decoder reads, or MP3), and each
// media segment's samples with the ID3 titles of its `emsg` boxes.
#pragma once

#include "audio/SegmentAudio.h"

#include <cstdint>
#include <optional>
#include <span>

namespace audio {

struct Mp4Track {
  Codec codec = Codec::Aac;
  int objectType = 2;  // of the AAC core (SBR and parametric stereo ride on it)
  int rateIndex = 4;   // of the core's sampling frequency
  int channelConfig = 2;
  std::uint32_t timescale = 0;  // of the media
  std::uint32_t defaultDuration = 0;
  std::uint32_t defaultSize = 0;
};

// The first audio track of an initialisation section; none when it has no AAC or MP3 track.
std::optional<Mp4Track> ParseInitSection(std::span<const std::uint8_t> init);

// The samples of every fragment of `segment`, as ADTS frames (AAC) or MP3 frames. False when
// the segment holds no fragment.
bool AudioOfFragments(std::span<const std::uint8_t> segment, const Mp4Track& track,
                      SegmentAudio& out);

}  // namespace audio
