// Which decoder a stream gets: from its content type, else from its first bytes.
#pragma once

#include "audio/Decoder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace audio {

// Bytes enough to recognise an audio stream by its first bytes.
constexpr std::size_t kSniffBytes = 7;

// True when `contentType` (parameters allowed) names audio we decode; sets `codec`.
bool CodecForType(std::string_view contentType, Codec& codec);
// True when `head` (at least kSniffBytes of a stream's start) looks like audio we decode.
bool SniffCodec(std::span<const std::uint8_t> head, Codec& codec);

// The decoder reads nothing until its first Next().
std::unique_ptr<Decoder> MakeDecoder(Codec codec, ByteSource& source);

}  // namespace audio
