#include "playback/ArtistMatch.h"

#include <gtest/gtest.h>

namespace {

TEST(ArtistMatch, SameArtistDespiteCaseDiacriticsTheAndAmpersand) {
  struct Case {
    const char* stream;
    const char* source;
    bool same;
  };
  for (const Case& c : {
           Case{"Cher", "CHER", true},
           Case{"The Beatles", "Beatles", true},
           Case{"Simon & Garfunkel", "Simon and Garfunkel", true},
           Case{"Beyonce", "Beyoncé", true},
           Case{"Motörhead", "MOTORHEAD", true},
           Case{"AC/DC", "ACDC", true},
           Case{"The The", "The The", true},
           Case{"坂本龍一", "坂本龍一", true},
           Case{"Cher", "Cher Lloyd", false},
           Case{"坂本龍一", "Ryuichi Sakamoto", false},
           Case{"", "", false},
           Case{"\xff\xfe", "\xff\xfe", false},
       }) {
    EXPECT_EQ(SameArtist(c.stream, c.source), c.same) << c.stream << " / " << c.source;
  }
}

}  // namespace
