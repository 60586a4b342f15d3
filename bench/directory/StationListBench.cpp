// A long genre: 10,000 stations (about 1.5 MB of XML) loaded from the cache file into the
// station list view, with and without the paint that follows.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/Utf8.h"
#include "shell/ControlIds.h"
#include "tests/directory/StationListView.h"

namespace {

constexpr int kStations = 10000;

// A station list shaped like the directory's: about 150 bytes per station.
std::string StationListXml() {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<stationlist>\n"
      "<tunein base=\"/sbin/tunein-station.pls\"/>\n";
  for (int i = 0; i < kStations; ++i) {
    xml += "<station name=\"Station number " + std::to_string(i) +
           " - the best mix of music all day\" mt=\"audio/mpeg\" id=\"" +
           std::to_string(100000 + i) +
           "\" br=\"128\" genre=\"Pop Rock\" ct=\"Some Artist - Some Title\" lc=\"" +
           std::to_string(i % 700) + "\"/>\n";
  }
  return xml + "</stationlist>\n";
}

class StationListWindow {
 public:
  StationListWindow() {
    headless::UseHeadlessScreen(480, 640, 192);
    window_ = CreateListsWindow(DefWindowProcW, L"StationListBench");
    headless::RunUntilIdle();
  }
  ~StationListWindow() { DestroyWindow(window_); }
  HWND window() const { return window_; }

 private:
  HWND window_ = nullptr;
};

std::wstring WriteCacheFile() {
  const std::string path = std::filesystem::temp_directory_path() /
                           ("tunedeck-bench-" + std::to_string(getpid()) + ".xml");
  std::ofstream(path, std::ios::binary) << StationListXml();
  return Utf8ToWide(path);
}

void LoadIntoStationList(benchmark::State& state, bool paint) {
  const std::wstring cacheFile = WriteCacheFile();
  StationListWindow screen;
  XmlReader xml;
  for (auto _ : state) {
    FillStationList(xml, cacheFile.c_str(), screen.window());
    if (paint) {
      headless::RunUntilIdle();
    }
  }
  const LRESULT rows =
      SendDlgItemMessageW(screen.window(), ID_STATION_LIST, LVM_GETITEMCOUNT, 0, 0);
  if (rows != kStations) {
    state.SkipWithError("the station list does not hold every station");
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(WideToUtf8(cacheFile)));
  std::filesystem::remove(WideToUtf8(cacheFile));
}

// The document alone: parse, XPath selection and the rows' texts, without the list view.
void BM_LoadAndSelectStations(benchmark::State& state) {
  const std::wstring cacheFile = WriteCacheFile();
  XmlReader xml;
  for (auto _ : state) {
    xml.Load(WideToUtf8(cacheFile));
    benchmark::DoNotOptimize(xml.SelectStations());
  }
  std::filesystem::remove(WideToUtf8(cacheFile));
}

void BM_FillStationList(benchmark::State& state) {
  LoadIntoStationList(state, false);
}
void BM_FillStationListAndPaint(benchmark::State& state) {
  LoadIntoStationList(state, true);
}

BENCHMARK(BM_LoadAndSelectStations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillStationList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillStationListAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace
