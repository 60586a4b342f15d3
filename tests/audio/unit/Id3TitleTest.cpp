#include "audio/Id3Title.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace audio {
namespace {

using Bytes = std::vector<std::uint8_t>;

// An ID3v2 tag of `version` (3 or 4) with these frames (id, body).
Bytes Tag(int version, const std::vector<std::pair<std::string, Bytes>>& frames) {
  Bytes body;
  for (const auto& [id, content] : frames) {
    body.insert(body.end(), id.begin(), id.end());
    const std::size_t n = content.size();
    body.push_back(0);
    body.push_back(0);
    body.push_back(static_cast<std::uint8_t>(n >> 7 & 0x7F));
    body.push_back(static_cast<std::uint8_t>(n & 0x7F));
    body.push_back(0);
    body.push_back(0);
    body.insert(body.end(), content.begin(), content.end());
  }
  Bytes tag{'I',
            'D',
            '3',
            static_cast<std::uint8_t>(version),
            0,
            0,
            0,
            0,
            static_cast<std::uint8_t>(body.size() >> 7),
            static_cast<std::uint8_t>(body.size() & 0x7F)};
  for (std::uint8_t b : body) {  // (insert trips a false bounds warning of GCC 12 here)
    tag.push_back(b);
  }
  return tag;
}

Bytes Text(std::uint8_t encoding, const std::string& bytes) {
  Bytes b{encoding};
  b.insert(b.end(), bytes.begin(), bytes.end());
  return b;
}

TEST(Id3Title, ArtistAndTitleInEveryTextEncodingBecomeAnIcyTitle) {
  struct Case {
    Bytes tag;
    std::string title;  // empty: none
  };
  for (const Case& c : {
           Case{Tag(4, {{"TPE1", Text(3, "Bj\xC3\xB6rk")}, {"TIT2", Text(3, "Joga")}}),
                "StreamTitle='Bj\xC3\xB6rk - Joga';"},
           Case{Tag(3, {{"TIT2", Text(0, "Caf\xE9\0x")}}), "StreamTitle='Caf\xC3\xA9';"},
           Case{Tag(4, {{"TIT2", Text(1, std::string("\xFF\xFEH\0i\0", 6))}}), "StreamTitle='Hi';"},
           Case{Tag(4, {{"TIT2", Text(2, std::string("\0H\0i", 4))}}), "StreamTitle='Hi';"},
           Case{Tag(4, {{"TPE1", Text(3, "Only artist")}}), ""},
           Case{Tag(2, {{"TIT2", Text(3, "old")}}), ""},
       }) {
    const std::optional<std::string> title = StreamTitleFromId3(c.tag);
    EXPECT_EQ(title.value_or(""), c.title);
    EXPECT_EQ(Id3TagBytes(c.tag), c.tag.size());
  }
}

TEST(Id3Title, DamagedTagsGiveNoTitleAndNoOverread) {
  Bytes tag = Tag(4, {{"TIT2", Text(3, "Song")}});
  for (std::size_t cut = 0; cut < tag.size(); ++cut) {
    const Bytes part(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_FALSE(StreamTitleFromId3(part)) << cut;
  }
  tag[17] = 0x7F;  // a frame longer than its tag
  EXPECT_FALSE(StreamTitleFromId3(tag));
}

}  // namespace
}  // namespace audio
