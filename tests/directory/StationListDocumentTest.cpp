// The directory's station-list document: which elements are stations and what their rows say.
#include <gtest/gtest.h>

#include <string>

#include "directory/XmlReader.h"
#include "tests/support/HttpFixture.h"

namespace {

std::vector<Station> StationsOf(const char* fixtureName) {
  XmlReader reader;
  reader.Load(fixture::FixturePath(std::string("directory/") + fixtureName));
  return reader.SelectStations();
}

TEST(StationListDocument, NamesAreCutBeforeTheFirstHyphen) {
  const auto stations = StationsOf("stations-basic.xml");
  ASSERT_EQ(stations.size(), 5u);
  EXPECT_EQ(stations[0].name, L"Groove Salad ");
  EXPECT_EQ(stations[0].id, L"1001");
  EXPECT_EQ(stations[1].name, L"PlainName");
  EXPECT_EQ(stations[2].name, L"");
  EXPECT_EQ(stations[2].id, L"1003");
  EXPECT_EQ(stations[3].name, L"Caf\u00E9 & Jazz ");
  EXPECT_EQ(stations[4].name,
            L"\u0394\u03AF\u03C3\u03BA\u03BF\u03C2 "
            L"\u03A1\u03B1\u03B4\u03B9\u03CC\u03C6\u03C9\u03BD\u03BF");
}

TEST(StationListDocument, NameWithoutHyphenIsKeptUpTo259Characters) {
  XmlReader reader;
  const std::string longName(300, 'n');
  reader.LoadBuffer("<stationlist><station name=\"" + longName + "\" id=\"7\"/></stationlist>");
  const auto stations = reader.SelectStations();
  ASSERT_EQ(stations.size(), 1u);
  EXPECT_EQ(stations[0].name, std::wstring(259, L'n'));
}

TEST(StationListDocument, OnlyDirectChildrenOfAnyStationlistCountInDocumentOrder) {
  const auto stations = StationsOf("stations-nested.xml");
  ASSERT_EQ(stations.size(), 3u);
  EXPECT_EQ(stations[0].id, L"1");
  EXPECT_EQ(stations[1].id, L"2");
  EXPECT_EQ(stations[2].id, L"3");
}

TEST(StationListDocument, StationWithoutIdIsSkippedAndOneWithoutNameShowsEmpty) {
  const auto stations = StationsOf("stations-missing-attributes.xml");
  ASSERT_EQ(stations.size(), 2u);
  EXPECT_EQ(stations[0].name, L"");
  EXPECT_EQ(stations[0].id, L"2001");
  EXPECT_EQ(stations[1].id, L"2002");
}

TEST(StationListDocument, MalformedEmptyOrMissingFileGivesNoStations) {
  EXPECT_TRUE(StationsOf("stations-truncated.xml").empty());
  EXPECT_TRUE(StationsOf("stations-empty.xml").empty());
  EXPECT_TRUE(StationsOf("error-page.html").empty());
  EXPECT_TRUE(StationsOf("no-such-file.xml").empty());
}

TEST(StationListDocument, EachLoadReplacesThePreviousDocument) {
  XmlReader reader;
  reader.Load(fixture::FixturePath("directory/stations-basic.xml"));
  ASSERT_EQ(reader.SelectStations().size(), 5u);
  reader.Load(fixture::FixturePath("directory/stations-truncated.xml"));
  EXPECT_TRUE(reader.SelectStations().empty());
  reader.Load(fixture::FixturePath("directory/stations-nested.xml"));
  EXPECT_EQ(reader.SelectStations().size(), 3u);
}

}  // namespace
