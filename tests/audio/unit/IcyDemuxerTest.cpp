#include "audio/IcyDemuxer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace audio {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A stream as a server sends it: `metaint` audio bytes, then a length byte and the block.
struct IcyStream {
  std::size_t metaint;
  Bytes bytes;
  Bytes audio;

  void Audio(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      auto b = static_cast<std::uint8_t>(audio.size() * 7 + 3);
      audio.push_back(b);
      bytes.push_back(b);
    }
  }
  // `raw` is padded with NULs to whole 16-byte units unless `units` says otherwise.
  void Block(const std::string& raw, int units = -1) {
    std::size_t n = units >= 0 ? static_cast<std::size_t>(units) : (raw.size() + 15) / 16;
    bytes.push_back(static_cast<std::uint8_t>(n));
    std::string padded = raw;
    padded.resize(n * 16, '\0');
    bytes.insert(bytes.end(), padded.begin(), padded.end());
  }
};

struct Demuxed {
  Bytes audio;
  std::vector<std::pair<std::size_t, std::string>> metadata;  // position in the whole audio
};

Demuxed FeedInPieces(std::size_t metaint, const Bytes& bytes, std::size_t piece) {
  IcyDemuxer demuxer(metaint);
  Demuxed all;
  for (std::size_t i = 0; i < bytes.size(); i += piece) {
    Bytes read(bytes.begin() + i, bytes.begin() + i + std::min(piece, bytes.size() - i));
    for (auto& [at, text] : demuxer.TakeOut(read)) {
      all.metadata.emplace_back(all.audio.size() + at, text);
    }
    all.audio.insert(all.audio.end(), read.begin(), read.end());
  }
  return all;
}

TEST(IcyDemuxer, TakesBlocksOutExactlyWhateverTheReadSizes) {
  IcyStream s{16, {}, {}};
  s.Audio(16);
  s.Block("StreamTitle='A - B';");
  s.Audio(16);
  s.Block("");
  s.Audio(16);
  s.Block("StreamTitle='C - D';");
  s.Audio(7);
  for (std::size_t piece : {1u, 2u, 3u, 15u, 16u, 17u, 33u, 4096u}) {
    Demuxed d = FeedInPieces(16, s.bytes, piece);
    EXPECT_EQ(d.audio, s.audio) << "piece " << piece;
    ASSERT_EQ(d.metadata.size(), 2u) << "piece " << piece;
    EXPECT_EQ(d.metadata[0], std::make_pair(std::size_t{16}, std::string("StreamTitle='A - B';")));
    EXPECT_EQ(d.metadata[1], std::make_pair(std::size_t{48}, std::string("StreamTitle='C - D';")));
  }
}

TEST(IcyDemuxer, IntervalSmallerThanOneReadYieldsEveryBlock) {
  IcyStream s{3, {}, {}};
  for (int i = 0; i < 10; ++i) {
    s.Audio(3);
    s.Block("StreamTitle='" + std::to_string(i) + "';");
  }
  Demuxed d = FeedInPieces(3, s.bytes, s.bytes.size());
  EXPECT_EQ(d.audio, s.audio);
  ASSERT_EQ(d.metadata.size(), 10u);
  EXPECT_EQ(d.metadata[9].first, 30u);
  EXPECT_EQ(d.metadata[9].second, "StreamTitle='9';");
}

TEST(IcyDemuxer, BlockWithoutNulKeepsTheWholeBlock) {
  IcyStream s{4, {}, {}};
  s.Audio(4);
  s.Block("StreamTitle='exactly 32 bytes';", 2);  // 32 characters, no NUL
  s.Audio(4);
  Demuxed d = FeedInPieces(4, s.bytes, 5);
  EXPECT_EQ(d.audio, s.audio);
  ASSERT_EQ(d.metadata.size(), 1u);
  EXPECT_EQ(d.metadata[0].second, "StreamTitle='exactly 32 bytes';");
}

TEST(IcyDemuxer, GarbageAfterTheClosingQuoteStaysOutOfTheAudio) {
  IcyStream s{8, {}, {}};
  s.Audio(8);
  s.Block(std::string("StreamTitle='X';\xff\x01garbage\0more", 29));
  s.Audio(8);
  Demuxed d = FeedInPieces(8, s.bytes, 7);
  EXPECT_EQ(d.audio, s.audio);
  ASSERT_EQ(d.metadata.size(), 1u);
  EXPECT_EQ(d.metadata[0].second, "StreamTitle='X';\xff\x01garbage");
}

TEST(IcyDemuxer, TruncatedBlockAtTheEndGivesNoText) {
  IcyStream s{8, {}, {}};
  s.Audio(8);
  s.bytes.push_back(200);  // announces 3200 bytes that never come
  s.bytes.insert(s.bytes.end(), {'S', 't', 'r'});
  Demuxed d = FeedInPieces(8, s.bytes, 2);
  EXPECT_EQ(d.audio, s.audio);
  EXPECT_TRUE(d.metadata.empty());
}

TEST(IcyDemuxer, WithoutIntervalEveryByteIsAudio) {
  Bytes bytes{1, 0, 2, 'S', 0};
  Demuxed d = FeedInPieces(0, bytes, 2);
  EXPECT_EQ(d.audio, bytes);
  EXPECT_TRUE(d.metadata.empty());
}

}  // namespace
}  // namespace audio
