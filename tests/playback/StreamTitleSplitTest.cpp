// Splitting an ICY StreamTitle into artist, title and the status line's text.
#include <gtest/gtest.h>

#include <string>

#include "playback/TitleFromMetadata.h"

namespace {

StreamTitleTexts Split(const std::string& meta) {
  const auto texts = TitleFromStreamMeta(meta);
  EXPECT_TRUE(texts.has_value()) << meta;
  return texts.value_or(StreamTitleTexts{});
}

void ExpectTexts(const std::string& meta, const std::string& artist, const std::string& title,
                 const std::string& status) {
  const StreamTitleTexts texts = Split(meta);
  EXPECT_EQ(texts.artist, artist) << meta;
  EXPECT_EQ(texts.title, title) << meta;
  EXPECT_EQ(texts.status, status) << meta;
}

bool IsValidUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (i + length > text.size()) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        return false;
      }
    }
    i += length;
  }
  return true;
}

TEST(StreamTitleSplit, ArtistAndTitleAroundBlankHyphenBlank) {
  ExpectTexts("StreamTitle='Artist Name - Song Title';StreamUrl='';", "Artist Name", "Song Title",
              "Artist Name - Song Title");
}

TEST(StreamTitleSplit, DropsOneCharacterOnEachSideOfTheHyphenWhateverItIs) {
  ExpectTexts("StreamTitle='Band-Song';", "Ban", "ong", "Ban - ong");
}

TEST(StreamTitleSplit, SplitsAtTheFirstHyphen) {
  ExpectTexts("StreamTitle='A - B - C';", "A", "B - C", "A - B - C");
}

TEST(StreamTitleSplit, KeepsABracketInTheTitle) {
  ExpectTexts("StreamTitle='Artist - Title (Live)';", "Artist", "Title (Live)",
              "Artist - Title (Live)");
}

TEST(StreamTitleSplit, EndsOneCharacterBeforeTheFirstSemicolon) {
  ExpectTexts("StreamTitle='A - B; C';", "A", "", "A - ");
}

TEST(StreamTitleSplit, FindsTheEntryAfterOthers) {
  ExpectTexts("StreamUrl='http://x';StreamTitle='X - Y';", "X", "Y", "X - Y");
}

TEST(StreamTitleSplit, MetadataWithoutStreamTitleChangesNothing) {
  EXPECT_FALSE(TitleFromStreamMeta("StreamUrl='http://example.org/';").has_value());
  EXPECT_FALSE(TitleFromStreamMeta("").has_value());
  EXPECT_FALSE(TitleFromStreamMeta("streamtitle='A - B';").has_value());
}

TEST(StreamTitleSplit, MetadataEndsAtItsFirstNul) {
  const std::string meta("StreamUrl='';\0StreamTitle='A - B';", 34);
  EXPECT_FALSE(TitleFromStreamMeta(meta).has_value());
}

TEST(StreamTitleSplit, WithoutSemicolonRunsToTheEndLessTheClosingQuote) {
  ExpectTexts("StreamTitle='Artist - Title'", "Artist", "Title", "Artist - Title");
  ExpectTexts("StreamTitle='Artist - Title", "Artist", "Title", "Artist - Title");
}

TEST(StreamTitleSplit, WithoutHyphenIsAllTitleAndShowsAsItArrived) {
  ExpectTexts("StreamTitle='Station Jingle';", "", "Station Jingle", "Station Jingle");
}

TEST(StreamTitleSplit, HyphenAtEitherEndShowsTheValueAsItArrived) {
  ExpectTexts("StreamTitle='- Title';", "", "Title", "- Title");
  ExpectTexts("StreamTitle='-';", "", "", "-");
  ExpectTexts("StreamTitle='Artist -';", "Artist", "", "Artist -");
  ExpectTexts("StreamTitle='Artist-';", "Artis", "", "Artist-");
}

TEST(StreamTitleSplit, EmptyValueGivesEmptyTexts) {
  ExpectTexts("StreamTitle='';", "", "", "");
  ExpectTexts("StreamTitle=';", "", "", "");
  ExpectTexts("StreamTitle='", "", "", "");
}

TEST(StreamTitleSplit, LongPartsAreCutToTheirRoomAndTheStatusShowsThemWhole) {
  const std::string artist(80, 'a');
  const std::string title(70, 't');
  const StreamTitleTexts texts = Split("StreamTitle='" + artist + " - " + title + "';");
  EXPECT_EQ(texts.artist, artist.substr(0, titlePartBytes));
  EXPECT_EQ(texts.title, title.substr(0, titlePartBytes));
  EXPECT_EQ(texts.status, artist + " - " + title);
}

TEST(StreamTitleSplit, StatusIsCutToTheStatusLinesRoom) {
  const std::string title(400, 't');
  const StreamTitleTexts texts = Split("StreamTitle='A - " + title + "';");
  EXPECT_EQ(texts.status, "A - " + title.substr(0, kMaxTextCharacters - 4));
}

TEST(StreamTitleSplit, CutsNeverSplitAUtf8Character) {
  // 26 two-byte characters: byte 51 is the first byte of the 26th.
  std::string artist;
  for (int i = 0; i < 26; ++i) {
    artist += "\xc3\xa9";
  }
  const StreamTitleTexts texts = Split("StreamTitle='" + artist + " - x';");
  EXPECT_EQ(texts.artist.size(), 50u);
  EXPECT_TRUE(IsValidUtf8(texts.artist));

  std::string euros;
  for (int i = 0; i < 120; ++i) {
    euros += "\xe2\x82\xac";
  }
  const StreamTitleTexts longTexts = Split("StreamTitle='" + euros + "';");
  EXPECT_LE(longTexts.title.size(), titlePartBytes);
  EXPECT_TRUE(IsValidUtf8(longTexts.title));
  EXPECT_LE(longTexts.status.size(), kMaxTextCharacters);
  EXPECT_TRUE(IsValidUtf8(longTexts.status));
}

TEST(StreamTitleSplit, EightBitTextThatIsNotUtf8IsCutAtItsRoom) {
  const std::string latin1(60, '\xe9');
  const StreamTitleTexts texts = Split("StreamTitle='x - " + latin1 + "';");
  EXPECT_EQ(texts.title, latin1.substr(0, titlePartBytes));
}

}  // namespace
