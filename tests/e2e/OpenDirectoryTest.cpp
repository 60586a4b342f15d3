// A genre whose first directory is down lists the open directory's stations; one plays from
// the streaming server with its title and cover, is kept as a favourite by its uuid, and plays
// again from the favourites in a new run of the program.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Icecast.h"
#include "tests/support/OpenDirectoryServers.h"
#include "tests/support/TempDir.h"

namespace e2e {
namespace {

constexpr char kServer[] = "de1.api.radio-browser.info";
constexpr char kUuid[] = "7d3e9a10-4b2c-4f6e-9a81-2c5d7e9f0a1b";
constexpr char kPlaylistPath[] = "/pls/url/7d3e9a10-4b2c-4f6e-9a81-2c5d7e9f0a1b";
constexpr int ambientRow = 1;
// Inside the test's own time limit, so that a first run that hangs is stopped and reported.
constexpr std::chrono::seconds kFirstRunLimit{100};

// The streaming server and the open directory, met by both runs of the program.
struct OpenInternet {
  OpenInternet() {
    icecast.StartMp3Tone("/tone.mp3", 440, 120, "Open Tone");
    servers.server(kServer).AddRoute(
        {.path = "/xml/stations/search",
         .query = "tag=ambient&tagExact=true&hidebroken=true&order=clickcount&reverse=true"
                  "&limit=1000",
         .headers = {{"Content-Type", "text/xml"}},
         .bodyFile = fixture::FixturePath("e2e/open-ambient.xml")});
    servers.server(kServer).AddRoute({.path = kPlaylistPath,
                                      .headers = {{"Content-Type", "audio/x-scpls"}},
                                      .bodyFile = fixture::FixturePath("e2e/open-tone.pls")});
  }
  // After the session has started: it points the program at no open directory by itself.
  void Reach() const {
    http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
    webClient.openDirectory.lookups = servers.Lookups();
  }

  fixture::Icecast icecast;
  fixture::OpenDirectoryServers servers{{kServer}};
};

// True once the status line has shown the station's name (later titles may follow at once).
bool PlaysOpenTone(ProgramSession& session) {
  const auto shown = [&session] {
    for (const std::wstring& status : session.statusHistory()) {
      if (status == L"Open Tone" || status == L" Open Tone") {
        return true;
      }
    }
    return false;
  };
  session.WaitForStatus([&](const std::wstring&) { return shown(); }, 20s);
  return shown();
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The first run: the open directory's station plays with its title and cover and is added.
void FirstRun(OpenInternet& internet, const std::string& keptFolder) {
  ProgramSession session;
  internet.Reach();
  session.ServeFoundAlbum();

  session.TapRow(ID_GENRE_LIST, ambientRow);
  ASSERT_EQ(session.RowCount(ID_STATION_LIST), 2);
  EXPECT_EQ(session.RowText(ID_STATION_LIST, 0, 0), L"Open Tone ");
  EXPECT_EQ(session.RowText(ID_STATION_LIST, 1, 0), L"Open AAC Tone");
  session.Screenshot("open-directory-stations");
  session.TapRow(ID_STATION_LIST, 0);
  ASSERT_TRUE(PlaysOpenTone(session)) << session.StatusHistoryText();
  internet.icecast.SetTitle("/tone.mp3", "Cher - Believe");
  EXPECT_TRUE(session.WaitForStatus(L"nice one", 20s)) << session.StatusHistoryText();

  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s));
  session.Tap(screen.width / 2, StripTop());
  session.Screenshot("open-directory-playing");
  session.TapControl(ID_ADD);
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"Added");
  EXPECT_EQ(ReadFile(session.folder() + "radios.txt"), std::string("\r\n") + kUuid + "|Open Tone ");
  CopyFile(session.folder() + "radios.txt", keptFolder + "/radios.txt");
}

TEST(OpenDirectory, ItsStationPlaysIsKeptByUuidAndPlaysAgainInANewRun) {
  OpenInternet internet;
  fixture::TempDir kept;
  // The first run is a process of its own, as a run of the program is.
  fixture::ChildProcess firstRun([&] {
    FirstRun(internet, kept.path());
    return ::testing::Test::HasFailure() ? 1 : 0;
  });
  ASSERT_EQ(firstRun.WaitFor(kFirstRunLimit), 0) << "the first run failed";
  EXPECT_EQ(internet.servers.server(kServer).CountRequests(kPlaylistPath), 1u);

  ProgramSession session;
  internet.Reach();
  CopyFile(kept.path() + "/radios.txt", session.folder() + "radios.txt");
  session.TapRow(ID_GENRE_LIST, 0);
  ASSERT_EQ(session.RowText(ID_STATION_LIST, 0, 1), std::wstring(kUuid, kUuid + 36));
  session.TapRow(ID_STATION_LIST, 0);
  EXPECT_TRUE(PlaysOpenTone(session)) << session.StatusHistoryText();
  EXPECT_EQ(internet.servers.server(kServer).CountRequests(kPlaylistPath), 2u);
}

}  // namespace
}  // namespace e2e
