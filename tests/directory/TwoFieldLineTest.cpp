// Reading the genre and favourites files: pieces, fields and the lines that give no row.
#include "directory/TwoFieldLine.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/HttpFixture.h"

namespace {

std::string Fixture(const char* name) {
  return fixture::FixturePath(std::string("directory/") + name);
}

TEST(TwoFieldLine, FirstBarSeparatesKeyFromName) {
  const auto rows = ReadTwoFieldFile(Fixture("genres-lf.txt"));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2].first, L"Top 40");
  EXPECT_EQ(rows[2].second, L"Top 40 | Charts|Hits");
}

TEST(TwoFieldLine, CrLfNeverEndsAName) {
  const auto rows = ReadTwoFieldFile(Fixture("genres-crlf.txt"));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].first, L"Favourites");
  EXPECT_EQ(rows[0].second, L"My favourites");
  for (const TwoFields& row : rows) {
    EXPECT_EQ(row.second.find(L'\r'), std::wstring::npos);
  }
}

TEST(TwoFieldLine, FinalLineBreakAddsNoRow) {
  EXPECT_EQ(ReadTwoFieldText("a|A\nb|B\n").size(), 2u);
  EXPECT_EQ(ReadTwoFieldText("a|A\nb|B").size(), 2u);
}

TEST(TwoFieldLine, LinesWithoutTwoNonEmptyFieldsGiveNoRow) {
  const auto rows = ReadTwoFieldFile(Fixture("odd-lines.txt"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].first, L"Rock");
  EXPECT_EQ(rows[0].second, L"Rock");
  EXPECT_FALSE(SplitTwoFieldLine(L"\r\n"));
  EXPECT_FALSE(SplitTwoFieldLine(L"|"));
}

TEST(TwoFieldLine, LongLineIsReadInPiecesThatSplitOnTheirOwn) {
  // The first read takes "k|" and 497 x; the rest of the line is read as a line of its own.
  const std::string line = "k|" + std::string(497, 'x') + "key2|name2\n";
  const auto rows = ReadTwoFieldText(line);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].first, L"k");
  EXPECT_EQ(rows[0].second, std::wstring(497, L'x'));
  EXPECT_EQ(rows[1].first, L"key2");
  EXPECT_EQ(rows[1].second, L"name2");
}

TEST(TwoFieldLine, LineBreakCountsTowardsThe499Characters) {
  // 498 characters and LF fit one read.
  const std::string fits = "k|" + std::string(496, 'n') + "\nnext|row\n";
  const auto fitting = ReadTwoFieldText(fits);
  ASSERT_EQ(fitting.size(), 2u);
  EXPECT_EQ(fitting[0].second.size(), 496u);
  // 499 characters and LF: the LF is read alone and gives no row.
  const std::string over = "k|" + std::string(497, 'n') + "\nnext|row\n";
  const auto split = ReadTwoFieldText(over);
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(split[0].second.size(), 497u);
  EXPECT_EQ(split[1].first, L"next");
}

TEST(TwoFieldLine, PiecesCountCharactersNotBytes) {
  // 499 two-byte characters in one piece.
  std::string line = "k|";
  for (int i = 0; i < 497; ++i)
    line += "\xC3\xA9";
  const auto rows = ReadTwoFieldText(line + "\n");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].second, std::wstring(497, L'\u00E9'));
}

TEST(TwoFieldLine, ByteOrderMarkIsNotPartOfTheFirstKey) {
  const auto rows = ReadTwoFieldText(
      "\xEF\xBB\xBF"
      "Favourites|Mine\n");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].first, L"Favourites");
}

TEST(TwoFieldLine, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  const auto rows = ReadTwoFieldText("id|Caf\xE9\n");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].second, L"Caf\uFFFD");
}

TEST(TwoFieldLine, NulEndsTheLineTextAsInCText) {
  const auto rows = ReadTwoFieldText(std::string("id|na\0me\nx|y\n", 13));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].second, L"na");
  EXPECT_FALSE(SplitTwoFieldLine(std::wstring(L"\0|x", 3)));
}

TEST(TwoFieldLine, MissingFileGivesNoRows) {
  EXPECT_TRUE(ReadTwoFieldFile("/nonexistent/categories.txt").empty());
}

}  // namespace
