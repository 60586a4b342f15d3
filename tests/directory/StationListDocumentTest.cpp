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

TEST(StationListDocument, OpenDirectoryReplyGivesItsPlayableStationsByUuid) {
  // Left out: one whose last check failed.
  const auto stations = StationsOf("open-stations.xml");
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {
      {L"Jazz & Blues \"Late\" FM ", L"9617a958-0601-11e8-ae97-52543be04c81"},
      {L"\u0420\u0430\u0434\u0438\u043E \u0414\u0436\u0430\u0437",
       L"a3f2c1d4-5e6f-4a7b-8c9d-0e1f2a3b4c5d"},
      {L"\u6771\u4EAC\u30B8\u30E3\u30BA", L"0b1c2d3e-4f5a-4b6c-9d7e-8f9a0b1c2d3e"},
      {L"Jazz FM AAC", L"5a6b7c8d-9e0f-4a1b-8c2d-3e4f5a6b7c8d"},
      {L"\u0625\u0630\u0627\u0639\u0629 \u0627\u0644\u062C\u0627\u0632",
       L"e4d3c2b1-a0f9-4e8d-b7c6-a5f4e3d2c1b0"},
      {L"O'Brien's Jazz", L"11112222-3333-4444-8555-666677778888"},
      {L"Opus Jazz", L"21436587-a9cb-4fed-8123-456789abcdef"},
      {L"HLS Jazz", L"31415926-5358-4979-b323-846264338327"},
      {L"Smooth Jazz 24/7", L"c0ffee00-1234-4abc-9def-00112233aabb"}};
  ASSERT_EQ(stations.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(stations[i].name, expected[i].first) << i;
    EXPECT_EQ(stations[i].id, expected[i].second) << i;
  }
}

TEST(StationListDocument, OpenDirectoryStationWithoutAUuidGivesNoRow) {
  XmlReader reader;
  for (const char* uuid : {"", "1001", "not-a-uuid"}) {
    reader.LoadBuffer(
        std::string("<result><station stationuuid=\"") + uuid +
        "\" name=\"N\" codec=\"MP3\" hls=\"0\" lastcheckok=\"1\"></station></result>");
    EXPECT_TRUE(reader.SelectStations().empty()) << uuid;
  }
}

TEST(StationListDocument, CodecsCountInAnyCaseAndByTheirAudioPart) {
  // Values as the directory's stream checker writes them; its server compares them in any case.
  const struct {
    const char* codec;
    bool row;
  } cases[] = {{"MP3", true},   {"mp3", true},       {"Ogg", true},        {"aac+", true},
               {"Opus", true},  {"AAC,H.264", true}, {"aac, h.264", true}, {"UNKNOWN", false},
               {"FLAC", false}, {"flac", false},     {"", false},          {"H.264", false},
               {"MP3 ", false}};
  XmlReader reader;
  for (const auto& each : cases) {
    reader.LoadBuffer(std::string("<result><station stationuuid=\"") +
                      "9617a958-0601-11e8-ae97-52543be04c81\" name=\"N\" codec=\"" + each.codec +
                      "\" hls=\"0\" lastcheckok=\"1\"></station></result>");
    EXPECT_EQ(reader.SelectStations().size(), each.row ? 1u : 0u) << each.codec;
  }
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
