// The download buffer between the connection and the decoder: the bytes of a new connection
// follow a junction with their codec, metadata is handed on once its bytes are decoded, and
// bytes decoded ahead count as buffered until the stream plays.
#include "audio/DownloadBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace audio {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// What one Read gives, as text.
std::string ReadText(DownloadBuffer& buffer) {
  std::uint8_t out[64];
  return std::string(reinterpret_cast<const char*>(out), buffer.Read(out, sizeof out));
}

TEST(DownloadBuffer, BytesOfANewConnectionFollowAJunctionWithTheirCodec) {
  DownloadBuffer buffer;
  buffer.SetCapacity(1024);
  buffer.Write(Bytes("old bytes"));
  buffer.SetConnected(false);
  EXPECT_FALSE(buffer.Current().connected);
  ASSERT_TRUE(buffer.AddJunction(Codec::Aac));
  EXPECT_TRUE(buffer.Current().connected);
  buffer.Write(Bytes("new"));
  buffer.EndDownload();

  Codec codec = Codec::Mp3;
  EXPECT_FALSE(buffer.NextConnection(codec));  // the old connection's bytes come first
  EXPECT_EQ(ReadText(buffer), "old bytes");
  EXPECT_EQ(ReadText(buffer), "");  // the old decoder's input ends at the junction
  ASSERT_TRUE(buffer.NextConnection(codec));
  EXPECT_EQ(codec, Codec::Aac);
  EXPECT_EQ(ReadText(buffer), "new");
  EXPECT_EQ(ReadText(buffer), "");
  EXPECT_FALSE(buffer.NextConnection(codec));
}

TEST(DownloadBuffer, MetadataIsHandedOnOnceItsBytesAreDecoded) {
  DownloadBuffer buffer;
  buffer.SetCapacity(1024);
  buffer.AddMeta({4, "first", 1});
  buffer.AddMeta({8, "second", 2});
  buffer.Write(Bytes("0123456789"));
  EXPECT_EQ(buffer.FirstPendingMeta()->text, "first");
  EXPECT_EQ(ReadText(buffer), "0123456789");
  EXPECT_TRUE(buffer.TakeDecodedMeta(7).empty());  // the decoder holds bytes 3.. undecoded
  const std::vector<DownloadBuffer::MetaAtByte> decoded = buffer.TakeDecodedMeta(2);
  ASSERT_EQ(decoded.size(), 2u);
  EXPECT_EQ(decoded[0].text, "first");
  EXPECT_EQ(decoded[1].text, "second");
  EXPECT_FALSE(buffer.FirstPendingMeta());
}

TEST(DownloadBuffer, BytesDecodedAheadCountAsBufferedUntilTheStreamPlays) {
  DownloadBuffer buffer;
  buffer.SetCapacity(100);
  buffer.Write(Bytes(std::string(80, 'x')));
  EXPECT_EQ(ReadText(buffer).size(), 64u);
  EXPECT_EQ(buffer.Current().buffered, 80u);
  buffer.WaitForFill(80);  // returns at once: the burst is all there
  buffer.StartPlaying();
  EXPECT_EQ(buffer.Current().buffered, 16u);
  EXPECT_EQ(buffer.Current().read, 64u);
  EXPECT_EQ(buffer.Current().written, 80u);
}

}  // namespace
}  // namespace audio
