// The title the service is asked about, and the query address.
#include <gtest/gtest.h>

#include "playback/TrackInfoQuery.h"

namespace {

TEST(TrackInfoQuery, TitleEndsBeforeTheBlankInFrontOfABracket) {
  EXPECT_EQ(QueryTitle(L"Song (Live)"), L"Song");
  EXPECT_EQ(QueryTitle(L"Song [Remix]"), L"Song");
  EXPECT_EQ(QueryTitle(L"Plain Song"), L"Plain Song");
  EXPECT_EQ(QueryTitle(L""), L"");
}

TEST(TrackInfoQuery, ParenthesisAnywhereWinsOverAnEarlierSquareBracket) {
  EXPECT_EQ(QueryTitle(L"Song [Remix] (2009)"), L"Song [Remix]");
}

TEST(TrackInfoQuery, CharacterBeforeTheBracketGoesWhateverItIs) {
  EXPECT_EQ(QueryTitle(L"Song(Live)"), L"Son");
}

TEST(TrackInfoQuery, TitleThatTheCutWouldEmptyIsAskedWhole) {
  EXPECT_EQ(QueryTitle(L"(I Can't Get No) Satisfaction"), L"(I Can't Get No) Satisfaction");
  EXPECT_EQ(QueryTitle(L"[Untitled]"), L"[Untitled]");
  EXPECT_EQ(QueryTitle(L"X(Y)"), L"X(Y)");
}

TEST(TrackInfoQuery, AddressAsksTheServiceWithTheKey) {
  EXPECT_EQ(TrackInfoAddress("Cher", "Believe"),
            "http://ws.audioscrobbler.com/2.0/?method=track.getinfo"
            "&api_key=5e0c7a19d2b84f63a1c09e7d3b6f2a84&artist=Cher&track=Believe");
}

TEST(TrackInfoQuery, ArtistAndTitleArePercentEncoded) {
  const std::string address = TrackInfoAddress("Simon & Garfunkel", "Mrs. Robinson?#=x");
  EXPECT_NE(address.find("&artist=Simon%20%26%20Garfunkel&track=Mrs.%20Robinson%3F%23%3Dx"),
            std::string::npos)
      << address;
  EXPECT_NE(
      TrackInfoAddress("Bj\xC3\xB6rk", "J\xC3\xB3ga").find("artist=Bj%C3%B6rk&track=J%C3%B3ga"),
      std::string::npos);
}

}  // namespace
