// The genre list filled from the genre file.
#include "tests/directory/ListWindow.h"

namespace {

using GenreList = ListWindowTest;

TEST_F(GenreList, FirstLineBecomesRowZeroWhateverItSays) {
  CopyFixture("genres-crlf.txt", "categories.txt");
  LoadGenres(client, window, ID_GENRE_LIST);
  ASSERT_EQ(RowCount(genreList), 4);
  EXPECT_EQ(Text(genreList, 0, 0), L"My favourites");
  EXPECT_EQ(Text(genreList, 0, 1), L"Favourites");
  EXPECT_EQ(Text(genreList, 1, 0), L"Alternative");
  EXPECT_EQ(Text(genreList, 3, 1), L"Classical");
}

TEST_F(GenreList, RowZeroSelectedOnBlackEvenWithOneLine) {
  std::ofstream(dir.File("categories.txt")) << "Favourites|Mine";
  LoadGenres(client, window, ID_GENRE_LIST);
  ASSERT_EQ(RowCount(genreList), 1);
  EXPECT_EQ(SelectedRow(genreList), 0);
  EXPECT_EQ(SendMessageW(genreList, LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(0, 0, 0)));
}

TEST_F(GenreList, MissingGenreFileGivesAnEmptyList) {
  LoadGenres(client, window, ID_GENRE_LIST);
  EXPECT_EQ(RowCount(genreList), 0);
}

TEST_F(GenreList, OddLinesGiveNoRowsAndRowsStayInFileOrder) {
  CopyFixture("odd-lines.txt", "categories.txt");
  LoadGenres(client, window, ID_GENRE_LIST);
  ASSERT_EQ(RowCount(genreList), 1);
  EXPECT_EQ(Text(genreList, 0, 1), L"Rock");
}

}  // namespace
