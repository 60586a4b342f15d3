#include "audio/CodecChoice.h"

#include "audio/AdtsFramer.h"
#include "audio/Text.h"

#include <cstring>

namespace audio {

namespace {

struct TypeName {
  std::string_view type;
  Codec codec;
};

constexpr TypeName kTypes[] = {
    {"audio/mpeg", Codec::Mp3},  {"audio/mp3", Codec::Mp3},
    {"audio/mpeg3", Codec::Mp3}, {"audio/x-mpeg", Codec::Mp3},
    {"audio/mpg", Codec::Mp3},   {"application/ogg", Codec::Ogg},
    {"audio/ogg", Codec::Ogg},   {"audio/vorbis", Codec::Ogg},
    {"audio/x-ogg", Codec::Ogg}, {"application/x-ogg", Codec::Ogg},
    {"audio/opus", Codec::Ogg},  {"audio/aac", Codec::Aac},
    {"audio/aacp", Codec::Aac},  {"audio/x-aac", Codec::Aac},
};

}  // namespace

bool CodecForType(std::string_view contentType, Codec& codec) {
  contentType = Trim(contentType.substr(0, contentType.find(';')));
  for (const TypeName& known : kTypes) {
    if (EqualsNoCase(contentType, known.type)) {
      codec = known.codec;
      return true;
    }
  }
  return false;
}

bool SniffCodec(std::span<const std::uint8_t> head, Codec& codec) {
  if (head.size() < kSniffBytes) {
    return false;
  }
  if (std::memcmp(head.data(), "OggS", 4) == 0) {
    codec = Codec::Ogg;
    return true;
  }
  // Before MP3: an ADTS sync word also passes the looser MP3 test below.
  if (ParseAdtsHeader(head)) {
    codec = Codec::Aac;
    return true;
  }
  if (std::memcmp(head.data(), "ID3", 3) == 0 || (head[0] == 0xFF && (head[1] & 0xE0) == 0xE0)) {
    codec = Codec::Mp3;
    return true;
  }
  return false;
}

std::unique_ptr<Decoder> MakeDecoder(Codec codec, ByteSource& source) {
  switch (codec) {
    case Codec::Ogg:
      return MakeOggDecoder(source);
    case Codec::Aac:
      return MakeAacDecoder(source);
    case Codec::Mp3:
      break;
  }
  return MakeMp3Decoder(source);
}

}  // namespace audio
