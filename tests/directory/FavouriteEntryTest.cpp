// Favourites entries: what one addition writes and how the file reads back.
#include "directory/FavouriteEntry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "directory/TwoFieldLine.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool Add(const std::string& path, std::wstring_view id, std::wstring_view name) {
  const auto entry = FavouriteEntry(id, name);
  return entry && AppendWhole(path, *entry);
}

TEST(FavouriteEntry, FirstAdditionCreatesTheFileWithALeadingLineBreak) {
  fixture::TempDir dir;
  const std::string path = dir.File("radios.txt");
  ASSERT_TRUE(Add(path, L"1001", L"Groove Salad"));
  EXPECT_EQ(ReadFile(path), "\r\n1001|Groove Salad");
  const auto rows = ReadTwoFieldFile(path);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].first, L"1001");
  EXPECT_EQ(rows[0].second, L"Groove Salad");
}

TEST(FavouriteEntry, TwoAdditionsToAFileWithoutFinalBreakGiveThreeRows) {
  fixture::TempDir dir;
  const std::string path = dir.File("radios.txt");
  std::filesystem::copy_file(fixture::FixturePath("directory/favourites-no-final-break.txt"), path);
  ASSERT_TRUE(Add(path, L"2", L"Second"));
  ASSERT_TRUE(Add(path, L"2", L"Second"));
  EXPECT_EQ(ReadFile(path), "12345|Radio One\r\n2|Second\r\n2|Second");
  EXPECT_EQ(ReadTwoFieldFile(path).size(), 3u);
}

TEST(FavouriteEntry, HandEditedFileEndingInALineBreakGetsNoExtraRow) {
  fixture::TempDir dir;
  const std::string path = dir.File("radios.txt");
  std::filesystem::copy_file(fixture::FixturePath("directory/favourites-hand-edited.txt"), path);
  ASSERT_TRUE(Add(path, L"3", L"Third"));
  const auto rows = ReadTwoFieldFile(path);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].second, L"Radio Two");
  EXPECT_EQ(rows[2].first, L"3");
}

TEST(FavouriteEntry, BarInANameIsKeptAndReadsBackIntoTheName) {
  fixture::TempDir dir;
  const std::string path = dir.File("radios.txt");
  ASSERT_TRUE(Add(path, L"77", L"Rock | Roll|Radio"));
  const auto rows = ReadTwoFieldFile(path);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].first, L"77");
  EXPECT_EQ(rows[0].second, L"Rock | Roll|Radio");
}

TEST(FavouriteEntry, LineBreaksInNameOrIdBecomeBlanks) {
  EXPECT_EQ(FavouriteEntry(L"1\r\n2", L"Two\nLines\r"), "\r\n1  2|Two Lines ");
}

TEST(FavouriteEntry, EmptyIdOrNameIsNotWrittenBecauseItWouldNeverReadBack) {
  EXPECT_FALSE(FavouriteEntry(L"", L"Name"));
  EXPECT_FALSE(FavouriteEntry(L"12", L""));
}

TEST(FavouriteEntry, NamesInAnyScriptRoundTripAsUtf8) {
  fixture::TempDir dir;
  const std::string path = dir.File("radios.txt");
  ASSERT_TRUE(Add(path, L"5", L"\u6771\u4EAC FM \u00E9t\u00E9"));
  EXPECT_EQ(ReadFile(path), "\r\n5|\xE6\x9D\xB1\xE4\xBA\xAC FM \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(ReadTwoFieldFile(path)[0].second, L"\u6771\u4EAC FM \u00E9t\u00E9");
}

TEST(FavouriteEntry, UnwritableFileReportsNothingWritten) {
  EXPECT_FALSE(AppendWhole("/nonexistent-folder/radios.txt", "\r\n1|x"));
}

}  // namespace
