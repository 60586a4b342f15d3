// Searching the open directory by name, tag, country and language: four searches asked of its
// servers (fixture servers over HTTPS behind their names), merged into the rows a person sees.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "directory/ServiceHosts.h"
#include "directory/StationSearch.h"
#include "tests/directory/ListWindow.h"
#include "tests/support/OpenDirectoryServers.h"

namespace {

using fixture::Route;
using std::chrono::steady_clock;
using namespace std::chrono_literals;

const std::vector<std::string> kServers = {"de1.api.radio-browser.info",
                                           "nl1.api.radio-browser.info"};
constexpr char kOptions[] = "&hidebroken=true&order=clickcount&reverse=true&limit=500";
const char* const kFields[] = {"name=", "tag=", "country=", "language="};

// The route of one of the four searches for `value`, with the reply in the fixture file.
Route SearchRoute(int field, const std::string& value, Route route) {
  route.path = "/xml/stations/search";
  route.query = kFields[field] + value + (field == 1 ? "&tagExact=true" : "") + kOptions;
  route.headers = {{"Content-Type", "text/xml"}};
  return route;
}

Route Reply(const char* fixtureFile) {
  return {.bodyFile = fixture::FixturePath(std::string("directory/") + fixtureFile)};
}

// A reply of `count` stations shaped as the directory's, station i played i times.
std::string ManyStations(int count) {
  std::string xml = "<result>\n";
  for (int i = 1; i <= count; ++i) {
    char uuid[37];
    std::snprintf(uuid, sizeof uuid, "%08x-0000-4000-8000-%012x", i, i);
    xml += std::string("  <station changeuuid=\"") + uuid + "\" stationuuid=\"" + uuid +
           "\" name=\"Station " + std::to_string(i) +
           "\" url=\"http://s.test/\" url_resolved=\"http://s.test/\" homepage=\"\" favicon=\"\" "
           "tags=\"jazz\" country=\"Germany\" countrycode=\"DE\" state=\"\" language=\"german\" "
           "votes=\"1\" codec=\"MP3\" bitrate=\"128\" hls=\"0\" lastcheckok=\"1\" clickcount=\"" +
           std::to_string(i) + "\" clicktrend=\"0\"></station>\n";
  }
  return xml + "</result>";
}

}  // namespace

class StationSearch : public ListWindowTest {
 protected:
  void ServeJazz(const std::string& server) {
    const char* files[] = {"search-jazz-name.xml", "search-jazz-tag.xml", "search-jazz-country.xml",
                           "search-jazz-language.xml"};
    for (int field = 0; field < 4; ++field) {
      servers.server(server).AddRoute(SearchRoute(field, "jazz", Reply(files[field])));
    }
  }
  SearchOutcome Search(std::wstring_view query,
                       steady_clock::time_point deadline = steady_clock::now() + 20s) {
    return SearchOpenDirectory(kServers, query, client.downloadLimits, deadline, 4s);
  }
  static std::vector<std::wstring> Ids(const SearchOutcome& outcome) {
    std::vector<std::wstring> ids;
    for (const Station& station : outcome.stations) {
      ids.push_back(station.id.substr(0, 8));
    }
    return ids;
  }

  fixture::OpenDirectoryServers servers{kServers};
};

TEST_F(StationSearch, TheFourRepliesMergeMostPlayedFirstEachStationOnceAndOnlyPlayableOnes) {
  ServeJazz(kServers[0]);
  const SearchOutcome outcome = Search(L"jazz");
  // Overlaps between the replies appear once; the broken station and the FLAC one not at all.
  EXPECT_EQ(Ids(outcome), (std::vector<std::wstring>{L"9617a958", L"a3f2c1d4", L"0b1c2d3e",
                                                     L"5a6b7c8d", L"e4d3c2b1", L"11112222",
                                                     L"21436587", L"31415926", L"c0ffee00"}));
  ASSERT_EQ(outcome.stations.size(), 9u);
  EXPECT_EQ(outcome.stations[0].name, L"Jazz & Blues FM ");
  EXPECT_EQ(outcome.stations[1].name, L"\u0420\u0430\u0434\u0438\u043E \u0414\u0436\u0430\u0437");
  EXPECT_EQ(outcome.stations[2].name, L"\u6771\u4EAC\u30B8\u30E3\u30BA");
  EXPECT_EQ(outcome.server, kServers[0]);
  for (const fixture::LoggedRequest& request : servers.server(kServers[0]).Requests()) {
    EXPECT_EQ(request.Header("User-Agent"), "duvEridaz");
  }
}

TEST_F(StationSearch, AtMostFiveHundredRowsTheMostPlayedOnes) {
  servers.server(kServers[0]).AddRoute(SearchRoute(0, "station", {.body = ManyStations(1000)}));
  const SearchOutcome outcome = Search(L"station");
  ASSERT_EQ(outcome.stations.size(), kSearchRows);
  EXPECT_EQ(outcome.stations.front().name, L"Station 1000");
  EXPECT_EQ(outcome.stations.back().name, L"Station 501");
}

TEST_F(StationSearch, AServerThatFailsOrAnswersSomethingElseGivesWayToTheNext) {
  ServeJazz(kServers[1]);
  for (const Route& failure : {Route{.status = 503}, Route{.body = "<html>portal</html>"}}) {
    for (int field = 0; field < 4; ++field) {
      servers.server(kServers[0]).AddRoute(SearchRoute(field, "jazz", failure));
    }
    const SearchOutcome outcome = Search(L"jazz");
    EXPECT_EQ(outcome.stations.size(), 9u);
    EXPECT_EQ(outcome.server, kServers[1]);
  }
  servers.Refuse(kServers[0]);
  EXPECT_EQ(Search(L"jazz").stations.size(), 9u);
}

TEST_F(StationSearch, NothingAnsweringEndsWithoutRowsByTheDeadline) {
  for (const std::string& server : kServers) {
    for (int field = 0; field < 4; ++field) {
      servers.server(server).AddRoute(SearchRoute(field, "jazz", {.headerDelaySeconds = 60}));
    }
  }
  const auto start = steady_clock::now();
  const SearchOutcome outcome = Search(L"jazz", start + 3s);
  // The bound is the deadline; the slack only allows for a loaded machine.
  EXPECT_LT(steady_clock::now() - start, 13s);
  EXPECT_TRUE(outcome.stations.empty());
  EXPECT_TRUE(outcome.server.empty());
}

TEST_F(StationSearch, TheQueryIsTrimmedAndSentAsPercentEncodedUtf8) {
  EXPECT_EQ(TrimmedQuery(L" \t rock & roll \u0414\u0436\u0430\u0437  "),
            L"rock & roll \u0414\u0436\u0430\u0437");
  Search(TrimmedQuery(L" \t Rock & Roll \u0414\u0436\u0430\u0437  "));
  std::vector<std::string> queries;
  for (const fixture::LoggedRequest& request : servers.server(kServers[0]).Requests()) {
    queries.push_back(request.query);
  }
  std::sort(queries.begin(), queries.end());
  const std::string typed = "Rock%20%26%20Roll%20%D0%94%D0%B6%D0%B0%D0%B7";
  EXPECT_EQ(queries, (std::vector<std::string>{
                         "country=" + typed + kOptions, "language=" + typed + kOptions,
                         "name=" + typed + kOptions,
                         // The directory keeps its tags in lower case, in every script.
                         "tag=rock%20%26%20roll%20%D0%B4%D0%B6%D0%B0%D0%B7&tagExact=true" +
                             std::string(kOptions)}));
}

// The window's side: a search runs off the window thread and only the latest one shows.
class StationSearchWindow : public StationSearch {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StationSearch::SetUp());
    current = this;
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Receiver;
      wc.lpszClassName = L"SearchReceiver";
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    receiver = CreateWindowExW(0, L"SearchReceiver", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                               nullptr);
    client.openDirectory.lookups = servers.Lookups();
  }
  void TearDown() override {
    DestroyWindow(receiver);
    current = nullptr;
    StationSearch::TearDown();
  }

  // WM_SEARCH_DONE as the program takes it, with the list window's station list.
  static LRESULT CALLBACK Receiver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SEARCH_DONE && current != nullptr) {
      current->shown.push_back(
          ShowSearchResults(current->client, current->window, ID_STATION_LIST, wParam));
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  inline static StationSearchWindow* current = nullptr;
  HWND receiver = nullptr;
  std::vector<std::optional<std::size_t>> shown;
};

TEST_F(StationSearchWindow, ASupersededSearchsLateAnswerNeverShows) {
  for (int field = 0; field < 4; ++field) {
    servers.server(kServers[0])
        .AddRoute(SearchRoute(
            field, "slow",
            {.bodyFile = Reply("search-jazz-tag.xml").bodyFile, .headerDelaySeconds = 2}));
  }
  servers.server(kServers[0]).AddRoute(SearchRoute(0, "fast", Reply("search-jazz-country.xml")));
  StartSearch(client, receiver, L"slow");
  StartSearch(client, receiver, L"fast");
  ASSERT_TRUE(headless::RunUntil([this] { return shown.size() == 2; }, 30s));
  EXPECT_EQ(shown[0], std::optional<std::size_t>(2));
  EXPECT_EQ(shown[1], std::nullopt);
  ASSERT_EQ(RowCount(stationList), 2);
  EXPECT_EQ(Text(stationList, 0, 1), L"0b1c2d3e-4f5a-4b6c-9d7e-8f9a0b1c2d3e");
  ExpectStationListShown();
}
