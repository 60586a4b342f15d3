// Which decoder a stream gets: its content type first, else its first bytes.
#include "audio/CodecChoice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>

namespace audio {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  return {values.begin(), values.end()};
}

TEST(CodecChoice, ContentTypesNameTheirDecoder) {
  const struct {
    const char* type;
    std::optional<Codec> codec;
  } cases[] = {
      {"audio/mpeg", Codec::Mp3},
      {"application/ogg", Codec::Ogg},
      {"audio/ogg; codecs=opus", Codec::Ogg},
      {"audio/opus", Codec::Ogg},
      {"audio/aac", Codec::Aac},
      {"AUDIO/AACP", Codec::Aac},
      {" audio/x-aac ", Codec::Aac},
      {"audio/aac-foo", std::nullopt},
      {"text/html", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    Codec codec = Codec::Mp3;
    ASSERT_EQ(CodecForType(c.type, codec), c.codec.has_value()) << c.type;
    if (c.codec) {
      EXPECT_EQ(codec, *c.codec) << c.type;
    }
  }
}

TEST(CodecChoice, FirstBytesNameTheirDecoder) {
  std::ifstream in(std::string(TUNEDECK_FIXTURES) + "/audio/codecs/tone-440.aac", std::ios::binary);
  std::vector<std::uint8_t> adts((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
  adts.resize(kSniffBytes);
  std::vector<std::uint8_t> impossibleRate = adts;
  impossibleRate[2] |= 0x3C;  // sampling frequency index 15
  const struct {
    std::vector<std::uint8_t> head;
    std::optional<Codec> codec;
  } cases[] = {
      {adts, Codec::Aac},
      {Bytes({'O', 'g', 'g', 'S', 0, 2, 0}), Codec::Ogg},
      {Bytes({'I', 'D', '3', 4, 0, 0, 0}), Codec::Mp3},
      {Bytes({0xFF, 0xFB, 0x90, 0x64, 0, 0, 0}), Codec::Mp3},  // MPEG-1 layer III
      {impossibleRate, Codec::Mp3},  // no ADTS; as loose as the MP3 test always was
      {Bytes({'<', 'h', 't', 'm', 'l', '>', ' '}), std::nullopt},
      {Bytes({0xFF, 0xF1, 0x50}), std::nullopt},  // too short to tell
  };
  for (const auto& c : cases) {
    Codec codec = Codec::Ogg;
    ASSERT_EQ(SniffCodec(c.head, codec), c.codec.has_value()) << int(c.head[1]);
    if (c.codec) {
      EXPECT_EQ(codec, *c.codec) << int(c.head[1]);
    }
  }
}

}  // namespace
}  // namespace audio
