// The genre file that ships beside the program.
#include <gtest/gtest.h>

#include <string>

#include "directory/Address.h"
#include "directory/FilePaths.h"
#include "directory/OpenDirectory.h"
#include "directory/ServiceHosts.h"
#include "directory/TwoFieldLine.h"

namespace {

TEST(ShippedGenreFile, FavouritesComeFirstThenTheDirectorysGenres) {
  const auto rows = ReadTwoFieldFile(std::string(TUNEDECK_SOURCE_DIR) + "/data/categories.txt");
  ASSERT_GT(rows.size(), 20u);
  EXPECT_EQ(rows[0].first, L"Favourites");
  for (size_t i = 1; i < rows.size(); ++i) {
    EXPECT_NE(rows[i].first, L"Favourites");
  }
}

TEST(ShippedGenreFile, EveryKeyNamesAFileOfTheFolderAndFitsTheQuery) {
  for (const TwoFields& row :
       ReadTwoFieldFile(std::string(TUNEDECK_SOURCE_DIR) + "/data/categories.txt")) {
    EXPECT_TRUE(IsPlainFileName(row.first));
    EXPECT_LT(AddressWith(kDirectoryQueryFormat, row.first).size(), 260u);
    EXPECT_LT(OpenDirectoryQuery("de1.api.radio-browser.info", row.first).size(), 260u);
  }
}

}  // namespace
