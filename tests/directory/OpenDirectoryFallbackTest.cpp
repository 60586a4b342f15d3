// A genre the first directory gives no stations for is asked of the open directory: its
// servers (fixture servers over HTTPS behind their names) in turn, within the choice's time.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "directory/ServiceHosts.h"
#include "tests/directory/ListWindow.h"
#include "tests/support/OpenDirectoryServers.h"

namespace {

using fixture::Route;
using std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr char kFirstDirectoryPath[] = "/sbin/newxml.phtml";
constexpr char kSearchPath[] = "/xml/stations/search";
const std::vector<std::string> kServers = {
    "de1.api.radio-browser.info", "nl1.api.radio-browser.info", "fi1.api.radio-browser.info",
    "at1.api.radio-browser.info"};

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Route Search(Route route) {
  route.path = kSearchPath;
  route.headers = {{"Content-Type", "text/xml"}};
  return route;
}

const Route kStations = Search({.bodyFile = fixture::FixturePath("directory/open-stations.xml")});
constexpr int kPlayableStations = 9;  // HLS stations included
const Route kStall = {.headerDelaySeconds = 60};

class OpenDirectoryFallback : public ListWindowTest {
 protected:
  void SetUp() override {
    ListWindowTest::SetUp();
    http::MapHost(kDirectoryHost, kServicePort, "127.0.0.1", firstDirectory.port());
    client.openDirectory.lookups = servers.Lookups();
  }
  void TearDown() override {
    http::ClearHostMap();
    ListWindowTest::TearDown();
  }

  void FirstDirectory(Route route) {
    route.path = kFirstDirectoryPath;
    firstDirectory.AddRoute(route);
  }
  void Choose(const std::wstring& key) {
    LoadGenreStations(client, window, ID_STATION_LIST, key.c_str());
  }
  std::size_t Searches(const std::string& server) {
    return servers.server(server).CountRequests(kSearchPath);
  }
  bool Cached(const std::string& key) const { return std::filesystem::exists(dir.File(key)); }

  fixture::HttpFixture firstDirectory;
  fixture::OpenDirectoryServers servers{kServers};
};

TEST_F(OpenDirectoryFallback, FirstDirectoryStationsMeanTheOpenDirectoryIsNeverAsked) {
  FirstDirectory({.bodyFile = fixture::FixturePath("directory/stations-basic.xml")});
  servers.server(kServers[0]).AddRoute(kStations);
  Choose(L"Jazz");
  EXPECT_EQ(RowCount(stationList), 5);
  EXPECT_EQ(Text(stationList, 0, 1), L"1001");
  EXPECT_EQ(Searches(kServers[0]), 0u);
  EXPECT_TRUE(client.openDirectory.servers.empty());  // not even discovered
}

TEST_F(OpenDirectoryFallback,
       FirstDirectoryFailureOrEmptyListAsksTheOpenDirectoryAndCachesItsReply) {
  servers.server(kServers[0]).AddRoute(kStations);
  const struct {
    const wchar_t* key;
    Route firstDirectory;
    const char* tag;
  } cases[] = {
      {L"Jazz", {.status = 404, .body = "no such genre"}, "jazz"},
      {L"Top 40",
       {.status = 500, .bodyFile = fixture::FixturePath("directory/error-page.html")},
       "top%2040"},
      {L"Blues", {.bodyFile = fixture::FixturePath("directory/stations-empty.xml")}, "blues"},
      {L"Folk", {.bodyFile = fixture::FixturePath("directory/stations-truncated.xml")}, "folk"},
      {L"R&B", kStall, "r%26b"},
  };
  for (const auto& each : cases) {
    const std::string key = WideToUtf8(each.key);
    Route route = each.firstDirectory;
    route.query = "genre=" + key + "&br=128&mt=audio/mpeg";
    FirstDirectory(route);
    servers.server(kServers[0]).ClearLog();
    Choose(each.key);
    EXPECT_EQ(RowCount(stationList), kPlayableStations) << key;
    EXPECT_EQ(Text(stationList, 1, 1), L"a3f2c1d4-5e6f-4a7b-8c9d-0e1f2a3b4c5d") << key;
    ExpectStationListShown();
    EXPECT_EQ(ReadFile(dir.File(key)),
              ReadFile(fixture::FixturePath("directory/open-stations.xml")))
        << key;
    const auto requests = servers.server(kServers[0]).Requests();
    ASSERT_EQ(requests.size(), 1u) << key;
    EXPECT_EQ(requests[0].query, std::string("tag=") + each.tag +
                                     "&tagExact=true&hidebroken=true&order=clickcount"
                                     "&reverse=true&limit=1000");
    EXPECT_EQ(requests[0].Header("Host"), kServers[0]);
    EXPECT_EQ(requests[0].Header("User-Agent"), "duvEridaz");
  }
  EXPECT_EQ(firstDirectory.CountRequests(kFirstDirectoryPath), std::size(cases));
}

TEST_F(OpenDirectoryFallback, NoStationAnywhereCachesNothingAndTheNextChoiceAsksAgain) {
  FirstDirectory({.status = 404});
  servers.server(kServers[0]).AddRoute(Search({.body = "<result></result>"}));
  Choose(L"Polka");
  Choose(L"Polka");
  EXPECT_EQ(RowCount(stationList), 0);
  ExpectStationListShown();
  EXPECT_FALSE(Cached("Polka"));
  EXPECT_EQ(Searches(kServers[0]), 2u);
  EXPECT_EQ(Searches(kServers[1]), 0u);  // an empty answer is an answer
}

TEST_F(OpenDirectoryFallback, ThousandStationReplyListsThemAll) {
  const std::string reply = ReadFile(fixture::FixturePath("directory/open-stations.xml"));
  const std::size_t from = reply.find("\n  <station");
  const std::string station = reply.substr(from, reply.find("</station>") + 10 - from);
  const std::string uuid = "9617a958-0601-11e8-ae97-52543be04c81";
  std::string thousand = "<result>";
  for (int i = 0; i < 1000; ++i) {
    std::string numbered = station;
    const std::string suffix = std::to_string(100000 + i);
    numbered.replace(numbered.find(uuid) + uuid.size() - suffix.size(), suffix.size(), suffix);
    thousand += numbered;
  }
  thousand += "</result>";
  std::ofstream(dir.File("reply.xml"), std::ios::binary) << thousand;
  FirstDirectory({.status = 404});
  servers.server(kServers[0]).AddRoute(Search({.bodyFile = dir.File("reply.xml")}));
  Choose(L"Jazz");
  ASSERT_EQ(RowCount(stationList), 1000);
  EXPECT_EQ(Text(stationList, 999, 1), L"9617a958-0601-11e8-ae97-52543b100999");
}

TEST_F(OpenDirectoryFallback, ServersThatRefuseStallOrAnswerWronglyArePassedAndTheNextIsKept) {
  FirstDirectory({.status = 404});
  servers.Refuse(kServers[0]);
  servers.server(kServers[1]).AddRoute(Search(kStall));
  servers.server(kServers[2])
      .AddRoute(Search({.bodyFile = fixture::FixturePath("directory/error-page.html")}));
  servers.server(kServers[3]).AddRoute(kStations);
  Choose(L"Jazz");
  EXPECT_EQ(RowCount(stationList), kPlayableStations);
  EXPECT_EQ(Searches(kServers[1]), 1u);
  EXPECT_EQ(Searches(kServers[2]), 1u);

  // The server that answered is asked first for the rest of the run, tune-ins included.
  servers.server(kServers[2]).AddRoute(Search({.status = 500}));
  Choose(L"Blues");
  EXPECT_EQ(RowCount(stationList), kPlayableStations);
  EXPECT_EQ(Searches(kServers[1]), 1u);
  EXPECT_EQ(Searches(kServers[2]), 1u);
  EXPECT_EQ(Searches(kServers[3]), 2u);
  EXPECT_EQ(client.openDirectory.TuneInAddress(L"9617a958-0601-11e8-ae97-52543be04c81"),
            L"https://at1.api.radio-browser.info/pls/url/9617a958-0601-11e8-ae97-52543be04c81");
}

TEST_F(OpenDirectoryFallback, EverythingStallingHoldsTheWindowNoLongerThanTheChoiceLimit) {
  client.downloadLimits = DownloadLimits();  // the program's own time-outs
  FirstDirectory(kStall);
  for (const std::string& server : kServers) {
    servers.server(server).AddRoute(Search(kStall));
  }
  const steady_clock::time_point start = steady_clock::now();
  Choose(L"Jazz");
  const auto held = steady_clock::now() - start;
  EXPECT_LE(held, kGenreChoiceLimit + std::chrono::seconds(2));
  EXPECT_GE(Searches(kServers[0]), 1u);  // the first directory did not take it all
  EXPECT_EQ(RowCount(stationList), 0);
  ExpectStationListShown();
  EXPECT_FALSE(Cached("Jazz"));
}

TEST_F(OpenDirectoryFallback, FirstDirectoryWithoutAnyAnswerIsLeftOutForTenMinutes) {
  servers.server(kServers[0]).AddRoute(kStations);
  const steady_clock::time_point start = steady_clock::now();
  steady_clock::time_point now = start;
  client.now = [&now] { return now; };
  FirstDirectory({.status = 404});  // an answer, however useless, costs nothing
  Choose(L"Jazz");
  FirstDirectory(kStall);
  Choose(L"Blues");
  const struct {
    std::chrono::seconds after;
    const wchar_t* key;
    std::size_t firstDirectoryAsked;
  } steps[] = {
      {0s, L"Folk", 2}, {9min + 59s, L"Soul", 2}, {10min, L"Funk", 3}, {11min, L"Rock", 3}};
  for (const auto& step : steps) {
    now = start + step.after;
    Choose(step.key);
    EXPECT_EQ(RowCount(stationList), kPlayableStations) << WideToUtf8(step.key);
    EXPECT_EQ(firstDirectory.CountRequests(kFirstDirectoryPath), step.firstDirectoryAsked)
        << WideToUtf8(step.key);
  }
}

TEST_F(OpenDirectoryFallback, OpenDirectoryListOlderThanAWeekIsAskedAgainAndKeptWhileThatFails) {
  FirstDirectory({.status = 404});
  const std::string oldList =
      "<result><station stationuuid=\"9617a958-0601-11e8-ae97-52543be04c81\" name=\"Old\" "
      "codec=\"MP3\" hls=\"0\" lastcheckok=\"1\"></station></result>";
  const auto age = [this](const std::string& key, std::chrono::hours hours) {
    std::filesystem::last_write_time(dir.File(key),
                                     std::filesystem::file_time_type::clock::now() - hours);
  };
  std::ofstream(dir.File("Jazz"), std::ios::binary) << oldList;
  std::ofstream(dir.File("Blues"), std::ios::binary) << oldList;
  std::filesystem::copy_file(fixture::FixturePath("directory/stations-basic.xml"),
                             dir.File("Folk"));
  age("Jazz", 8 * 24h);
  age("Blues", 6 * 24h);
  age("Folk", 30 * 24h);  // the first directory's lists are kept while they exist

  servers.server(kServers[0]).AddRoute(Search({.status = 503}));
  for (const wchar_t* key : {L"Jazz", L"Blues", L"Folk"}) {
    Choose(key);
    EXPECT_EQ(RowCount(stationList), std::wstring(key) == L"Folk" ? 5 : 1) << WideToUtf8(key);
  }
  EXPECT_EQ(ReadFile(dir.File("Jazz")), oldList);
  EXPECT_EQ(Searches(kServers[0]), 1u);
  EXPECT_EQ(firstDirectory.CountRequests(kFirstDirectoryPath), 1u);

  servers.server(kServers[0]).AddRoute(kStations);
  Choose(L"Jazz");
  Choose(L"Jazz");  // fresh now
  EXPECT_EQ(RowCount(stationList), kPlayableStations);
  EXPECT_EQ(ReadFile(dir.File("Jazz")),
            ReadFile(fixture::FixturePath("directory/open-stations.xml")));
  EXPECT_EQ(Searches(kServers[0]), 2u);
}

TEST_F(OpenDirectoryFallback,
       HangingResolverEndsTheChoiceInTimeWithTheWindowPaintingAndItsLateAnswerServesTheNext) {
  FirstDirectory({.status = 404});
  servers.server(kServers[0]).AddRoute(kStations);
  std::promise<void> release;
  const std::shared_future<void> released = release.get_future().share();
  // While the choice waits for the lookup, a list's new colour reaches the screen and a tap is
  // refused with a beep.
  auto paintedMeanwhile = std::make_shared<std::promise<bool>>();
  std::future<bool> painted = paintedMeanwhile->get_future();
  auto choosing = std::make_shared<std::atomic<bool>>(true);
  constexpr COLORREF kBlue = RGB(0, 0, 255);
  const int beeps = headless::BeepCount();
  const NameLookups found = servers.Lookups();
  HWND list = genreList;
  client.openDirectory.lookups.addressesOf = [found, released, paintedMeanwhile, choosing,
                                              list](const std::string& host) {
    // The one discovery of this test's run asks this once.
    SendMessageW(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(kBlue));
    headless::Tap(240, 300);
    const bool blue = headless::RunUntil([] { return headless::Pixel(240, 300) == kBlue; }, 8s);
    paintedMeanwhile->set_value(blue && choosing->load());
    released.wait();
    return found.addressesOf(host);
  };
  const steady_clock::time_point start = steady_clock::now();
  Choose(L"Jazz");
  choosing->store(false);
  EXPECT_LE(steady_clock::now() - start, kGenreChoiceLimit + 2s);
  ExpectStationListShown();
  EXPECT_EQ(Searches(kServers[0]), 0u);
  ASSERT_TRUE(headless::RunUntil(
      [&painted] { return painted.wait_for(0s) == std::future_status::ready; }, 30s));
  EXPECT_TRUE(painted.get());
  EXPECT_EQ(headless::BeepCount(), beeps + 1);

  release.set_value();
  Choose(L"Blues");
  EXPECT_EQ(RowCount(stationList), kPlayableStations);
  EXPECT_EQ(Searches(kServers[0]), 1u);
}

}  // namespace
