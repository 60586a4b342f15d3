// A genre's stations: fetched once from the directory (the fixture server behind the built-in
// host), kept as the genre's cache file and shown in the station list.
#include "directory/ServiceHosts.h"
#include "tests/directory/ListWindow.h"

namespace {

using fixture::Route;

constexpr char kQueryPath[] = "/sbin/newxml.phtml";

class GenreStations : public ListWindowTest {
 protected:
  void SetUp() override {
    ListWindowTest::SetUp();
    http::MapHost(kDirectoryHost, kServicePort, "127.0.0.1", directory.port());
  }
  void TearDown() override {
    http::ClearHostMap();
    ListWindowTest::TearDown();
  }

  void Serve(Route route) {
    route.path = kQueryPath;
    directory.AddRoute(route);
  }
  void ServeStations(const char* fixtureName) {
    Serve({.bodyFile = fixture::FixturePath(std::string("directory/") + fixtureName)});
  }
  void Choose(const std::wstring& key) {
    LoadGenreStations(client, window, ID_STATION_LIST, key.c_str());
  }
  bool Cached(const std::string& key) const { return std::filesystem::exists(dir.File(key)); }

  fixture::HttpFixture directory;
};

TEST_F(GenreStations, QueryCarriesThePercentEncodedGenreAndTheAgentName) {
  ServeStations("stations-basic.xml");
  Choose(L"Top 40");
  const auto requests = directory.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, kQueryPath);
  EXPECT_EQ(requests[0].query, "genre=Top%2040&br=128&mt=audio/mpeg");
  EXPECT_EQ(requests[0].Header("User-Agent"), "duvEridaz");
  EXPECT_EQ(requests[0].Header("Host"), kDirectoryHost);
}

TEST_F(GenreStations, StationsFillTheListInDocumentOrder) {
  ServeStations("stations-basic.xml");
  Choose(L"Ambient");
  ASSERT_EQ(RowCount(stationList), 5);
  EXPECT_EQ(Text(stationList, 0, 0), L"Groove Salad ");
  EXPECT_EQ(Text(stationList, 0, 1), L"1001");
  EXPECT_EQ(Text(stationList, 2, 0), L"");
  EXPECT_EQ(Text(stationList, 4, 1), L"1005");
  ExpectStationListShown();
  EXPECT_TRUE(Cached("Ambient"));
}

TEST_F(GenreStations, CachedGenreIsNeverAskedForAgain) {
  ServeStations("stations-basic.xml");
  Choose(L"R&B");
  Choose(L"R&B");
  EXPECT_EQ(directory.CountRequests(kQueryPath), 1u);
  EXPECT_EQ(RowCount(stationList), 5);
  EXPECT_TRUE(Cached("R&B"));
}

TEST_F(GenreStations, ExistingCacheFileMeansNoRequestAtAll) {
  CopyFixture("stations-nested.xml", "Jazz");
  Choose(L"Jazz");
  EXPECT_EQ(directory.CountRequests(kQueryPath), 0u);
  EXPECT_EQ(RowCount(stationList), 3);
}

TEST_F(GenreStations, FailedFetchesLeaveNoCacheAndTheNextChoiceAsksAgain) {
  Serve({.status = 404, .body = "no such genre"});
  Choose(L"Blues");
  Serve({.status = 500, .bodyFile = fixture::FixturePath("directory/error-page.html")});
  Choose(L"Blues");
  Serve({.hugeBody = 100000, .dropAfter = 3000});
  Choose(L"Blues");
  EXPECT_FALSE(Cached("Blues"));
  EXPECT_EQ(RowCount(stationList), 0);
  ExpectStationListShown();

  ServeStations("stations-nested.xml");
  Choose(L"Blues");
  EXPECT_EQ(directory.CountRequests(kQueryPath), 4u);
  EXPECT_EQ(RowCount(stationList), 3);
  EXPECT_TRUE(Cached("Blues"));
}

TEST_F(GenreStations, KeyThatWouldLeaveTheFolderLoadsNothingAndTouchesNoFile) {
  ServeStations("stations-basic.xml");
  AddRow(stationList, L"Earlier", L"1");
  for (const wchar_t* key : {L"../outside", L"..", L"a/b", L"a\\b"}) {
    Choose(key);
    EXPECT_EQ(RowCount(stationList), 0);
    ExpectStationListShown();
  }
  EXPECT_EQ(directory.CountRequests(kQueryPath), 0u);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_FALSE(
      std::filesystem::exists(std::filesystem::path(dir.path()).parent_path() / "outside"));
}

TEST_F(GenreStations, EmptyOrMalformedCacheGivesAnEmptyListOnEveryChoice) {
  CopyFixture("stations-truncated.xml", "Folk");
  Choose(L"Folk");
  EXPECT_EQ(RowCount(stationList), 0);
  ExpectStationListShown();
  Choose(L"Folk");
  EXPECT_EQ(RowCount(stationList), 0);
  EXPECT_EQ(directory.CountRequests(kQueryPath), 0u);
}

}  // namespace
