// A search from Return to the rows shown: the open directory's server (a fixture server over
// HTTPS on loopback) answers the name search with 1,000 stations; the four searches run off the
// window thread, and the window shows the 500 most played.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "shell/ControlIds.h"
#include "tests/directory/StationListView.h"
#include "tests/support/OpenDirectoryServers.h"

namespace {

constexpr char kServer[] = "de1.api.radio-browser.info";
constexpr int kStations = 1000;

// The directory's reply shape, station i played i times.
std::string ThousandStations() {
  std::string xml = "<result>\n";
  for (int i = 1; i <= kStations; ++i) {
    char uuid[37];
    std::snprintf(uuid, sizeof uuid, "%08x-0000-4000-8000-%012x", i, i);
    xml += std::string("  <station changeuuid=\"") + uuid + "\" stationuuid=\"" + uuid +
           "\" name=\"Station " + std::to_string(i) +
           " - the best mix of music all day\" url=\"http://s.test/\" url_resolved=\"http://s.test/"
           "\" homepage=\"https://s.test/\" favicon=\"\" tags=\"jazz,blues\" country=\"Germany\" "
           "countrycode=\"DE\" state=\"\" language=\"german\" votes=\"12\" "
           "lastchangetime=\"2025-11-02 08:14:51\" codec=\"MP3\" bitrate=\"128\" hls=\"0\" "
           "lastcheckok=\"1\" lastchecktime=\"2026-12-07 21:03:10\" clicktimestamp=\"2026-12-08 "
           "02:40:12\" clickcount=\"" +
           std::to_string(i) + "\" clicktrend=\"3\"></station>\n";
  }
  return xml + "</result>";
}

HWND searchWindow = nullptr;
std::size_t rowsShown = 0;

LRESULT CALLBACK SearchWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SEARCH_DONE) {
    if (const auto rows = ShowSearchResults(webClient, hwnd, ID_STATION_LIST, wParam)) {
      rowsShown = *rows;
    }
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void BM_SearchFromReturnToRows(benchmark::State& state) {
  headless::UseHeadlessScreen(480, 640, 192);
  fixture::OpenDirectoryServers servers({kServer});
  servers.server(kServer).AddRoute(
      {.path = "/xml/stations/search",
       .query = "name=station&hidebroken=true&order=clickcount&reverse=true&limit=500",
       .headers = {{"Content-Type", "text/xml"}},
       .body = ThousandStations()});
  webClient.openDirectory.lookups = servers.Lookups();
  searchWindow = CreateListsWindow(SearchWindowProc, L"SearchBench");
  headless::RunUntilIdle();
  for (auto _ : state) {
    rowsShown = 0;
    StartSearch(webClient, searchWindow, L"station");
    headless::RunUntil([] { return rowsShown > 0; }, std::chrono::seconds(30));
    headless::RunUntilIdle();  // the rows painted
    if (rowsShown != 500) {
      state.SkipWithError("the search did not show 500 rows");
    }
  }
  DestroyWindow(searchWindow);
  headless::RunUntilIdle();
}
BENCHMARK(BM_SearchFromReturnToRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
