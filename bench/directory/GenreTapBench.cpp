// A genre tap until its list is shown and painted: 500 open-directory stations from the genre's
// cache file, their logos to fetch from a host that never answers, beside the same list without
// logo addresses. The list must not wait for a logo.
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "platform/Utf8.h"
#include "shell/ControlIds.h"
#include "tests/directory/StationListView.h"

namespace {

constexpr int kStations = 500;
constexpr char kLogoHost[] = "logos.never.test";

std::string OpenDirectoryReply(bool withLogos) {
  std::string xml = "<result>\n";
  for (int i = 0; i < kStations; ++i) {
    char uuid[40];
    std::snprintf(uuid, sizeof uuid, "00000000-0000-4000-8000-%012d", i);
    const std::string favicon =
        withLogos ? "https://" + std::string(kLogoHost) + "/" + uuid + ".png" : "";
    xml += "<station stationuuid=\"" + std::string(uuid) + "\" name=\"Station " +
           std::to_string(i) + "\" url=\"http://stream.test/" + std::to_string(i) +
           "\" favicon=\"" + favicon +
           "\" codec=\"MP3\" bitrate=\"128\" hls=\"0\" lastcheckok=\"1\"></station>\n";
  }
  return xml + "</result>\n";
}

// A loopback port that takes connections and never answers them.
class SilentPort {
 public:
  SilentPort() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(socket_, 64);
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentPort() { ::close(socket_); }
  int port() const { return port_; }

 private:
  int socket_;
  int port_ = 0;
};

void TapGenre(benchmark::State& state, bool withLogos) {
  headless::UseHeadlessScreen(480, 640, 192);
  HWND window = CreateListsWindow(DefWindowProcW, L"GenreTapBench");
  const SilentPort silent;
  http::MapHost(kLogoHost, 443, "127.0.0.1", silent.port());

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tunedeck-genre-tap-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Ambient", std::ios::binary) << OpenDirectoryReply(withLogos);
  WebClient client;
  Utf8ToWide(folder.string() + "/").copy(client.folder, 259);
  headless::RunUntilIdle();

  for (auto _ : state) {
    LoadGenreStations(client, window, ID_STATION_LIST, L"Ambient");
    headless::RunUntilIdle();
  }
  if (SendDlgItemMessageW(window, ID_STATION_LIST, LVM_GETITEMCOUNT, 0, 0) != kStations ||
      client.logos.ListHasLogos() != withLogos) {
    state.SkipWithError("the list is not the genre's");
  }
  DestroyWindow(window);
  http::ClearHostMap();
  std::filesystem::remove_all(folder);
}

void BM_GenreTapWithoutLogos(benchmark::State& state) {
  TapGenre(state, false);
}
void BM_GenreTapWithLogosToFetch(benchmark::State& state) {
  TapGenre(state, true);
}

BENCHMARK(BM_GenreTapWithoutLogos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenreTapWithLogosToFetch)->Unit(benchmark::kMillisecond);

}  // namespace
