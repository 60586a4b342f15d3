// Reading artist and title from an Ogg stream's comments.
#include <gtest/gtest.h>

#include <string>

#include "playback/TitleFromMetadata.h"

namespace {

// The engine's form: NUL-terminated comments ended by an empty one.
std::string Comments(std::initializer_list<std::string> items) {
  std::string series;
  for (const std::string& item : items) {
    series += item;
    series += '\0';
  }
  series += '\0';
  return series;
}

TEST(OggCommentTitle, UpperCaseNamesGiveArtistAndTitle) {
  const auto texts = TitleFromOggComments(Comments({"ARTIST=x", "TITLE=y"}).c_str());
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->artist, "x");
  EXPECT_EQ(texts->status, "x - y");
}

TEST(OggCommentTitle, NamesMatchInAnyCaseAndTheLastOneWins) {
  const auto texts = TitleFromOggComments(
      Comments({"Artist=first", "encoder=Lavf", "artist=second", "tItLe=song"}).c_str());
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->artist, "second");
  EXPECT_EQ(texts->status, "second - song");
}

TEST(OggCommentTitle, ArtistWithoutTitleShowsTheArtistAlone) {
  const auto texts = TitleFromOggComments(Comments({"artist=Solo"}).c_str());
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->artist, "Solo");
  EXPECT_EQ(texts->status, "Solo");

  const auto emptyTitle = TitleFromOggComments(Comments({"artist=Solo", "title="}).c_str());
  ASSERT_TRUE(emptyTitle.has_value());
  EXPECT_EQ(emptyTitle->status, "Solo");
}

TEST(OggCommentTitle, TitleWithoutArtistShowsTheTitleAndLeavesTheArtist) {
  const auto texts = TitleFromOggComments(Comments({"title=Only Title"}).c_str());
  ASSERT_TRUE(texts.has_value());
  EXPECT_FALSE(texts->artist.has_value());
  EXPECT_EQ(texts->status, "Only Title");
}

TEST(OggCommentTitle, NeitherCommentChangesNothing) {
  EXPECT_FALSE(TitleFromOggComments(Comments({"encoder=Lavf", "artistic=no"}).c_str()));
  EXPECT_FALSE(TitleFromOggComments(Comments({}).c_str()));
}

TEST(OggCommentTitle, CombinedTextIsCutToItsRoomWithoutSplittingACharacter) {
  std::string artist;
  for (int i = 0; i < 40; ++i) {
    artist += "\xc3\xa9";  // 80 bytes
  }
  const auto texts =
      TitleFromOggComments(Comments({"artist=" + artist, "title=" + std::string(50, 't')}).c_str());
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->artist, artist);
  EXPECT_EQ(texts->status, artist + " - " + std::string(16, 't'));
  EXPECT_EQ(texts->status.size(), oggStatusBytes);

  const auto cutInside =
      TitleFromOggComments(Comments({"artist=" + std::string(98, 'a') + "\xc3\xa9"}).c_str());
  ASSERT_TRUE(cutInside.has_value());
  EXPECT_EQ(cutInside->status, std::string(98, 'a'));
}

TEST(OggCommentTitle, LongArtistIsCutToTheTextsRoom) {
  const auto texts = TitleFromOggComments(Comments({"artist=" + std::string(300, 'a')}).c_str());
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->artist, std::string(kMaxTextCharacters, 'a'));
}

}  // namespace
