// The AAC and Ogg decoders on small files fed in pieces of any size: whole frames from any
// start, damage passed over, chained Ogg links of Vorbis and Opus each with its comments and
// format and level, and input that is not what it claims ending without a crash or a hang.
#include "audio/Decoder.h"
#include "tests/audio/unit/MemorySource.h"

#include <gtest/gtest.h>

#include <cmath>

namespace audio {
namespace {

struct Link {
  PcmFormat format;
  std::string comments;
  double seconds = 0;
  double squares = 0;  // the sum of its samples' squares

  double Rms() const { return std::sqrt(squares / (seconds * format.rate * format.channels)); }
};

// Decodes to the end: one entry per format or logical stream, with how long it played.
std::vector<Link> DecodeAll(Decoder& decoder) {
  std::vector<Link> links;
  DecodedBlock block;
  while (decoder.Next(block)) {
    if (links.empty() || block.newLogicalStream || !(block.format == links.back().format)) {
      links.push_back({block.format, block.comments, 0});
    }
    links.back().seconds += static_cast<double>(block.samples.size()) /
                            static_cast<double>(block.format.channels * block.format.rate);
    for (std::int16_t sample : block.samples) {
      links.back().squares += static_cast<double>(sample) * sample;
    }
  }
  return links;
}

// At 22.05 kHz mono faad2 takes the stream for HE-AAC v2: SBR doubles the rate and parametric
// stereo makes two channels. The decoder reports what it puts out, not what the header says.
TEST(CompressedDecoders, AdtsDecodesFromAnyStartInPiecesOfAnySize) {
  const struct {
    const char* file;
    std::size_t start;
    PcmFormat format;
    double minSeconds;
    double maxSeconds;
  } cases[] = {
      {"tone-440.aac", 0, {44100, 2}, 0.45, 0.52},
      {"tone-440.aac", 1001, {44100, 2}, 0.25, 0.45},  // from the middle of a frame
      {"tone-440-22k-mono.aac", 0, {44100, 2}, 0.27, 0.33},
      // A new set-up mid-stream: the second part is not decoded as if it were the first.
      {"tone-440-22k-mono.aac+tone-440.aac", 0, {44100, 2}, 0.72, 0.85},
  };
  for (const auto& c : cases) {
    for (std::size_t piece : {1, 4096}) {
      SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.start) + " " +
                   std::to_string(piece));
      std::vector<std::uint8_t> bytes = Fixture(c.file);
      bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.start));
      MemorySource source(bytes, piece);
      std::unique_ptr<Decoder> decoder = MakeAacDecoder(source);
      std::vector<Link> links = DecodeAll(*decoder);
      ASSERT_EQ(links.size(), 1u);
      EXPECT_EQ(links[0].format, c.format);
      EXPECT_GE(links[0].seconds, c.minSeconds);
      EXPECT_LE(links[0].seconds, c.maxSeconds);
      EXPECT_GT(decoder->Bitrate(), 0u);
      EXPECT_EQ(decoder->PendingInput(), 0u);
    }
  }
}

TEST(CompressedDecoders, DamagedAdtsFramesArePassedOver) {
  const std::vector<std::uint8_t> good = Fixture("tone-440.aac");
  std::vector<std::uint8_t> scribbled = good;
  for (std::size_t i = 1500; i < 2500; ++i) {
    scribbled[i] = static_cast<std::uint8_t>(i * 151);
  }
  std::vector<std::uint8_t> impossible = good;  // every header claims a reserved sample rate
  for (std::size_t i = 0; i + 1 < impossible.size(); ++i) {
    if (impossible[i] == 0xFF && (impossible[i + 1] & 0xF6) == 0xF0 && i + 2 < impossible.size()) {
      impossible[i + 2] |= 0x3C;
    }
  }
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + 3000);
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    double minSeconds;
    double maxSeconds;
  } cases[] = {
      {"scribbled", scribbled, 0.2, 0.5},
      {"impossible", impossible, 0, 0},
      {"truncated", truncated, 0.2, 0.4},
  };
  for (const auto& c : cases) {
    MemorySource source(c.bytes, 512);
    std::unique_ptr<Decoder> decoder = MakeAacDecoder(source);
    double seconds = 0;
    for (const Link& link : DecodeAll(*decoder)) {
      seconds += link.seconds;
    }
    EXPECT_GE(seconds, c.minSeconds) << c.name;
    EXPECT_LE(seconds, c.maxSeconds) << c.name;
  }
}

TEST(CompressedDecoders, InputThatIsNotItsCodecEndsWithoutAudio) {
  std::vector<std::uint8_t> mp3;  // MPEG-1 layer III frames of 417 bytes
  for (int frame = 0; frame < 400; ++frame) {
    std::vector<std::uint8_t> header = {0xFF, 0xFB, 0x90, 0x64};
    mp3.insert(mp3.end(), header.begin(), header.end());
    mp3.resize(mp3.size() + 413, static_cast<std::uint8_t>(frame));
  }
  std::vector<std::uint8_t> noise(300 * 1024);
  for (std::size_t i = 0; i < noise.size(); ++i) {
    noise[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
  }
  std::vector<std::uint8_t> syncWords(100 * 1024, 0xFF);
  for (auto make : {MakeAacDecoder, MakeOggDecoder}) {
    for (const std::vector<std::uint8_t>* bytes : {&mp3, &noise, &syncWords}) {
      MemorySource source(*bytes, 4096);
      std::unique_ptr<Decoder> decoder = make(source);
      EXPECT_TRUE(DecodeAll(*decoder).empty()) << bytes->size();
    }
  }
  // An Ogg file whose links are not Opus gives the Opus decoder nothing.
  MemorySource vorbis(Fixture("vorbis-opus-vorbis.ogg"), 4096);
  EXPECT_TRUE(DecodeAll(*MakeOpusDecoder(vorbis)).empty());
}

TEST(CompressedDecoders, OggChainSwitchesBetweenVorbisAndOpusWithEachLinksComments) {
  for (std::size_t piece : {1, 4096}) {
    MemorySource source(Fixture("vorbis-opus-vorbis.ogg"), piece);
    std::unique_ptr<Decoder> decoder = MakeOggDecoder(source);
    std::vector<Link> links = DecodeAll(*decoder);
    ASSERT_EQ(links.size(), 3u) << piece;
    const struct {
      PcmFormat format;
      const char* artist;
    } expected[] = {
        {{44100, 2}, "ARTIST=Alpha"}, {{48000, 2}, "ARTIST=Beta"}, {{22050, 1}, "ARTIST=Gamma"}};
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(links[i].format, expected[i].format) << i;
      EXPECT_NE(links[i].comments.find(std::string(expected[i].artist) + '\0'), std::string::npos)
          << i;
      EXPECT_NEAR(links[i].seconds, 0.3, 0.03) << i;
    }
  }
}

// A stereo link and a mono one of the same tone whose header halves its gain (-6.02 dB), as
// chained by a station: each decoded whole, as stereo, at its own level.
TEST(CompressedDecoders, OpusLinksOfEitherChannelCountPlayAtTheirHeaderGain) {
  MemorySource source(Fixture("opus-stereo-mono-halved.ogg"), 4096);
  std::vector<Link> links = DecodeAll(*MakeOggDecoder(source));
  ASSERT_EQ(links.size(), 2u);
  for (const Link& link : links) {
    EXPECT_EQ(link.format, (PcmFormat{48000, 2}));
    EXPECT_NEAR(link.seconds, 0.3, 0.03);
  }
  EXPECT_NEAR(links[1].Rms() / links[0].Rms(), 0.5, 0.05);
}

}  // namespace
}  // namespace audio
