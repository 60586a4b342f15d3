// A genre whose first directory is down lists the open directory's stations, and so does a
// search typed in the title line; one plays from the streaming server with its title and cover,
// is kept as a favourite by its uuid, and plays again from the favourites in a new run of the
// program.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "shell/MainWindowState.h"
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
    servers.server(kServer).AddRoute(
        {.path = "/xml/stations/search",
         .query = "name=jazz&hidebroken=true&order=clickcount&reverse=true&limit=500",
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

// The station in row 0 plays with its title and cover and is added; the favourites file is
// kept for the next run.
void PlayAndKeepFirstRow(OpenInternet& internet, ProgramSession& session,
                         const std::string& keptFolder, const std::string& screenshotPrefix) {
  session.TapRow(ID_STATION_LIST, 0);
  ASSERT_TRUE(PlaysOpenTone(session)) << session.StatusHistoryText();
  internet.icecast.SetTitle("/tone.mp3", "Cher - Believe");
  EXPECT_TRUE(session.WaitForStatus(L"nice one", 20s)) << session.StatusHistoryText();

  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s));
  session.Tap(screen.width / 2, StripTop());
  session.Screenshot(screenshotPrefix + "-playing");
  session.TapControl(ID_ADD);
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"Added");
  EXPECT_EQ(ReadFile(session.folder() + "radios.txt"), std::string("\r\n") + kUuid + "|Open Tone ");
  CopyFile(session.folder() + "radios.txt", keptFolder + "/radios.txt");
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
  PlayAndKeepFirstRow(internet, session, keptFolder, "open-directory");
}

// The first run of a search: a key typed on the genre list opens the search line with it and
// Escape gives the genre screen back; a tap on the title line opens it empty, "jazz" typed (keys
// and an input method) and Return give the rows, and the first plays and is added.
void SearchRun(OpenInternet& internet, const std::string& keptFolder) {
  ProgramSession session;
  internet.Reach();
  session.ServeFoundAlbum();

  headless::TypeKeys(L"x");
  headless::RunUntilIdle();
  ASSERT_TRUE(session.Visible(ID_SEARCH_LINE));
  EXPECT_EQ(session.Text(ID_SEARCH_LINE), L"x");
  headless::PressKey(VK_ESCAPE);
  headless::RunUntilIdle();
  EXPECT_FALSE(session.Visible(ID_SEARCH_LINE));
  EXPECT_TRUE(session.Visible(ID_TITLE_LINE));
  EXPECT_TRUE(session.Visible(ID_GENRE_LIST));
  EXPECT_FALSE(headless::TextAsked());

  session.TapControl(ID_TITLE_LINE);
  ASSERT_TRUE(session.Visible(ID_SEARCH_LINE));
  EXPECT_TRUE(headless::TextAsked());
  headless::TypeKeys(L"ja");
  headless::TypeText("zz");
  headless::RunUntilIdle();
  EXPECT_EQ(session.Text(ID_SEARCH_LINE), L"jazz");
  session.Screenshot("search-line");
  headless::PressKey(VK_RETURN);
  ASSERT_TRUE(headless::RunUntil([&] { return session.RowCount(ID_STATION_LIST) == 2; }, 30s));
  headless::RunUntilIdle();
  EXPECT_EQ(session.Text(ID_TITLE_LINE), L"jazz");
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"Ready");
  EXPECT_NE(
      std::find(session.statusHistory().begin(), session.statusHistory().end(), L"searching..."),
      session.statusHistory().end());
  EXPECT_EQ(screenState.load(), PlayerScreen);
  EXPECT_EQ(session.RowText(ID_STATION_LIST, 0, 0), L"Open Tone ");
  session.Screenshot("search-results");
  PlayAndKeepFirstRow(internet, session, keptFolder, "search");
}

// A first run as a process of its own, as a run of the program is; then a second run plays the
// kept favourite.
void KeptStationPlaysInANewRun(void (*firstRunOf)(OpenInternet&, const std::string&)) {
  OpenInternet internet;
  fixture::TempDir kept;
  fixture::ChildProcess firstRun([&] {
    firstRunOf(internet, kept.path());
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

TEST(OpenDirectory, ItsStationPlaysIsKeptByUuidAndPlaysAgainInANewRun) {
  KeptStationPlaysInANewRun(FirstRun);
}

TEST(OpenDirectory, AStationFoundBySearchPlaysIsKeptByUuidAndPlaysAgainInANewRun) {
  KeptStationPlaysInANewRun(SearchRun);
}

TEST(OpenDirectory, NothingFoundSaysNoStationsAndSoDoesAnEmptyGenre) {
  fixture::OpenDirectoryServers servers{{kServer}};
  ProgramSession session;
  webClient.openDirectory.lookups = servers.Lookups();
  session.TapControl(ID_TITLE_LINE);
  headless::TypeText("\xE6\x97\xA5 & nothing");
  headless::PressKey(VK_RETURN);
  EXPECT_TRUE(session.WaitForStatus(L"no stations", 40s)) << session.StatusHistoryText();
  EXPECT_EQ(session.RowCount(ID_STATION_LIST), 0);
  EXPECT_TRUE(session.Visible(ID_STATION_LIST));

  session.TapControl(ID_TITLE_LINE);
  session.directory().AddRoute({.path = "/sbin/newxml.phtml",
                                .bodyFile = fixture::FixturePath("directory/stations-empty.xml")});
  session.TapRow(ID_GENRE_LIST, 1);
  EXPECT_EQ(session.RowCount(ID_STATION_LIST), 0);
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"no stations");
}

}  // namespace
}  // namespace e2e
