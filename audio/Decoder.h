// Compressed audio in, 16-bit interleaved samples out. A decoder pulls its input from a
// ByteSource on the decoding thread; the source blocks until bytes arrive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace audio {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `max` bytes; blocks until at least one is there. 0 only at the end of the input.
  virtual std::size_t Read(std::uint8_t* out, std::size_t max) = 0;
};

struct PcmFormat {
  long rate = 0;
  int channels = 0;
  bool operator==(const PcmFormat&) const = default;
};

struct DecodedBlock {
  std::span<const std::int16_t> samples;  // interleaved; valid until the next call
  PcmFormat format;
  // First block of a new Ogg logical stream; `comments` holds its comments as NUL-terminated
  // strings ended by an empty one.
  bool newLogicalStream = false;
  std::string comments;
};

class Decoder {
 public:
  virtual ~Decoder() = default;
  // The next block; false at the end of the input or when the input cannot be decoded.
  virtual bool Next(DecodedBlock& block) = 0;
  // Nominal or measured bit rate in kbit/s; 0 while unknown.
  virtual unsigned Bitrate() const = 0;
  // Input bytes read from the source but not yet decoded into the blocks returned so far.
  virtual std::size_t PendingInput() const = 0;
};

// The container or framing a stream arrives in; Ogg links may be Vorbis or Opus.
enum class Codec { Mp3, Ogg, Aac };

// The decoder reads nothing until the first Next().
std::unique_ptr<Decoder> MakeMp3Decoder(ByteSource& source);
std::unique_ptr<Decoder> MakeAacDecoder(ByteSource& source);
// Ogg of any codec below, one run of links after another.
std::unique_ptr<Decoder> MakeOggDecoder(ByteSource& source);
// One codec's Ogg links: the source ends where a link of another codec begins.
std::unique_ptr<Decoder> MakeVorbisDecoder(ByteSource& source);
std::unique_ptr<Decoder> MakeOpusDecoder(ByteSource& source);

}  // namespace audio
