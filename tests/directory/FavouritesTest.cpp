// The favourites shown in the station list and added from it.
#include <fstream>
#include <iterator>

#include "tests/directory/ListWindow.h"

namespace {

using Favourites = ListWindowTest;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST_F(Favourites, ShowingThemReplacesWhatTheStationListHeld) {
  AddRow(stationList, L"Directory station", L"999");
  AddRow(stationList, L"Another", L"998");
  CopyFixture("favourites-hand-edited.txt", "radios.txt");
  LoadFavourites(client, window, ID_STATION_LIST);
  ASSERT_EQ(RowCount(stationList), 2);
  EXPECT_EQ(Text(stationList, 0, 0), L"Radio One");
  EXPECT_EQ(Text(stationList, 0, 1), L"12345");
  EXPECT_EQ(Text(stationList, 1, 0), L"Radio Two");
  ExpectStationListShown();
}

TEST_F(Favourites, MissingFileShowsAnEmptyStationList) {
  AddRow(stationList, L"Directory station", L"999");
  LoadFavourites(client, window, ID_STATION_LIST);
  EXPECT_EQ(RowCount(stationList), 0);
  ExpectStationListShown();
}

TEST_F(Favourites, AddingAppendsTheSelectedRow) {
  AddRow(stationList, L"First", L"1");
  AddRow(stationList, L"Second", L"2");
  Select(stationList, 1);
  ASSERT_TRUE(AddFavourite(client, window, ID_STATION_LIST));
  EXPECT_EQ(ReadFile(dir.File("radios.txt")), "\r\n2|Second");
}

TEST_F(Favourites, WithNoRowSelectedRowZeroIsAdded) {
  AddRow(stationList, L"First", L"1");
  AddRow(stationList, L"Second", L"2");
  Select(stationList, -1);
  ASSERT_TRUE(AddFavourite(client, window, ID_STATION_LIST));
  EXPECT_EQ(ReadFile(dir.File("radios.txt")), "\r\n1|First");
}

TEST_F(Favourites, SameStationTwiceGivesTwoRowsNextTime) {
  AddRow(stationList, L"Groove", L"1001");
  ASSERT_TRUE(AddFavourite(client, window, ID_STATION_LIST));
  ASSERT_TRUE(AddFavourite(client, window, ID_STATION_LIST));
  LoadFavourites(client, window, ID_STATION_LIST);
  ASSERT_EQ(RowCount(stationList), 2);
  EXPECT_EQ(Text(stationList, 1, 1), L"1001");
}

TEST_F(Favourites, AddingWhileFavouritesAreShownAppendsTheSelectedOneAgain) {
  CopyFixture("favourites-no-final-break.txt", "radios.txt");
  LoadFavourites(client, window, ID_STATION_LIST);
  ASSERT_TRUE(AddFavourite(client, window, ID_STATION_LIST));
  ASSERT_TRUE(AddFavourite(client, window, ID_STATION_LIST));
  EXPECT_EQ(RowCount(stationList), 1);  // the list shows the file as it was loaded
  LoadFavourites(client, window, ID_STATION_LIST);
  ASSERT_EQ(RowCount(stationList), 3);
  EXPECT_EQ(Text(stationList, 2, 0), L"Radio One");
}

TEST_F(Favourites, EmptyListWritesNothing) {
  EXPECT_FALSE(AddFavourite(client, window, ID_STATION_LIST));
  EXPECT_FALSE(std::filesystem::exists(dir.File("radios.txt")));
}

TEST_F(Favourites, NameLongerThan259CharactersIsWrittenCut) {
  AddRow(stationList, std::wstring(300, L'n'), L"7");
  ASSERT_TRUE(AddFavourite(client, window, ID_STATION_LIST));
  EXPECT_EQ(ReadFile(dir.File("radios.txt")), "\r\n7|" + std::string(259, 'n'));
}

TEST_F(Favourites, StationThatWouldBreakTheLineFormatIsNotAdded) {
  AddRow(stationList, L"Shifted", L"1|2");
  EXPECT_FALSE(AddFavourite(client, window, ID_STATION_LIST));
  EXPECT_FALSE(std::filesystem::exists(dir.File("radios.txt")));
}

}  // namespace
