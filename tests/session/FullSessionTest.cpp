#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/MainWindow.h"
#include "platform/HeadlessScreen.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/SimulatedInternet.h"

namespace e2e {
namespace {

// Rows of the shipped genre file.
constexpr int favouritesRow = 0;
constexpr int ambientRow = 3;
constexpr int bluesRow = 4;

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

bool HasText(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

// The program with the shipped genre file, against the simulated internet.
class Session : public ::testing::Test {
 protected:
  explicit Session(const fixture::SimulatedInternet::Options& options) : internet_(options) {}

  void SetUp() override {
    CopyFile(std::string(TUNEDECK_SOURCE_DIR) + "/data/categories.txt",
             session_.folder() + "categories.txt");
    internet_.MapHosts();
    ASSERT_TRUE(CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOW));
    ShortenReconnectTries();
    headless::RunUntilIdle();
  }

  // Waits for the status line to show `part`; false (with the history printed) otherwise.
  ::testing::AssertionResult StatusShows(const std::wstring& part,
                                         std::chrono::milliseconds limit = 15s) {
    if (session_.WaitForStatus([&](const std::wstring& status) { return HasText(status, part); },
                               limit)) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << session_.StatusHistoryText();
  }

  // Waits until the cover lookup for the current title has finished and folder.jpg is `cover`.
  bool CoverBecomes(const std::string& cover) {
    const std::string expected = FileBytes(fixture::FixturePath("internet/covers/" + cover));
    return headless::RunUntil(
        [&] {
          return coverThread.load() == nullptr &&
                 FileBytes(session_.folder() + "folder.jpg") == expected;
        },
        15s);
  }

  // The station list's middle, below the rows, is where the now-playing view shows the cover.
  COLORREF ViewPixel() const { return headless::Pixel(screen.width / 2, screen.height / 2); }

  fixture::SimulatedInternet internet_;
  ProgramSession session_{{.createWindow = false}};
};

// A burst of a second of audio at 128 kbit/s, a fifth of the 5 s buffer: the buffering shows for
// seconds before the station plays, however late the first look at the buffer comes.
class FullSession : public Session {
 protected:
  FullSession() : Session({.mp3Length = 90s, .burstBytes = 16 * 1024}) {}
};

// Stations that end: the test ends an MP3 station's source, the Ogg station ends after its two
// short songs or when the test ends it.
class ShortStations : public Session {
 protected:
  ShortStations() : Session({.oggSongLength = 12s}) {}
};

TEST_F(FullSession, GenreStationsTuneInTitlesCoversAndAFavourite) {
  // Start-up: the shipped genres.
  ASSERT_EQ(session_.RowText(ID_GENRE_LIST, ambientRow, 1), L"Ambient");
  session_.Screenshot("session-01-genres");

  // A genre: its stations from the directory.
  session_.TapRow(ID_GENRE_LIST, ambientRow);
  ASSERT_EQ(session_.RowCount(ID_STATION_LIST), 2);
  EXPECT_EQ(session_.Text(ID_TITLE_LINE), L"Ambient");
  session_.Screenshot("session-02-ambient-stations");

  // Tune-in: connecting, buffering, then the station's name and its first title.
  session_.TapRow(ID_STATION_LIST, 0);
  EXPECT_EQ(screenState.load(), StationScreen);
  // The list shows the name up to the hyphen of "Drift FM - calm tones all day", blank kept.
  EXPECT_EQ(session_.Text(ID_TITLE_LINE), L"Drift FM ");
  ASSERT_TRUE(StatusShows(L"buffering"));
  headless::RunUntilIdle();
  session_.Screenshot("session-03-buffering");
  ASSERT_TRUE(StatusShows(L"Ada Lumen - First Light"));
  ASSERT_TRUE(CoverBecomes("first-light.jpg"));
  session_.Screenshot("session-04-first-title");

  // The now-playing view: the cover fades in.
  session_.Tap(screen.width / 2, screen.height - 4 * lineHeight);
  ASSERT_EQ(screenState.load(), PlayerScreen);
  const COLORREF firstCover = ViewPixel();
  session_.Screenshot("session-05-now-playing");

  // A new title brings its own cover, drawn over the view.
  EXPECT_EQ(internet_.NextTitle("/drift.mp3"), "Ada Lumen - Harbour Lights");
  ASSERT_TRUE(StatusShows(L"Ada Lumen - Harbour Lights"));
  ASSERT_TRUE(CoverBecomes("harbour-lights.jpg"));
  headless::RunUntil([&] { return ViewPixel() != firstCover; }, 5s);
  EXPECT_NE(ViewPixel(), firstCover);
  session_.Screenshot("session-06-new-cover");

  // A title the service knows no album for: the placeholder cover.
  EXPECT_EQ(internet_.NextTitle("/drift.mp3"), "Drift FM - Station Break");
  ASSERT_TRUE(StatusShows(L"Drift FM - Station Break"));
  headless::RunUntil([] { return coverThread.load() == nullptr; }, 15s);
  headless::RunFor(300ms);
  session_.Screenshot("session-07-no-album");
  EXPECT_EQ(internet_.web().CountRequests("/2.0/"), 3u);

  // The station becomes a favourite; back to the stations, then to the favourites list.
  session_.TapControl(ID_ADD);
  EXPECT_EQ(session_.Text(ID_STATUS_LINE), L"Added");
  session_.TapControl(ID_BACK);
  ASSERT_EQ(screenState.load(), StationScreen);
  session_.Screenshot("session-08-stations-with-strip");
  session_.TapControl(ID_TITLE_LINE);
  ASSERT_TRUE(session_.Visible(ID_GENRE_LIST));
  session_.TapRow(ID_GENRE_LIST, favouritesRow);
  ASSERT_EQ(session_.RowCount(ID_STATION_LIST), 1);
  EXPECT_TRUE(HasText(session_.RowText(ID_STATION_LIST, 0, 0), L"Drift FM"));
  EXPECT_EQ(session_.RowText(ID_STATION_LIST, 0, 1), L"2001");
  session_.Screenshot("session-09-favourites");
}

TEST_F(FullSession, TitleChangeWhileALookupRunsStartsNoSecondLookup) {
  // The first title's cover takes its time.
  internet_.web().AddRoute({.path = "/126/first-light.jpg",
                            .headers = {{"Content-Type", "image/jpeg"}},
                            .bodyFile = fixture::FixturePath("internet/covers/first-light.jpg"),
                            .headerDelaySeconds = 10});
  session_.TapRow(ID_GENRE_LIST, ambientRow);
  session_.TapRow(ID_STATION_LIST, 0);
  ASSERT_TRUE(StatusShows(L"Ada Lumen - First Light"));
  internet_.NextTitle("/drift.mp3");
  ASSERT_TRUE(StatusShows(L"Ada Lumen - Harbour Lights"));
  EXPECT_NE(coverThread.load(), nullptr) << "the first lookup ended before the change";
  // The lookup finishes for its own track; the new title gets none.
  ASSERT_TRUE(CoverBecomes("first-light.jpg")) << session_.StatusHistoryText();
  headless::RunFor(500ms);
  session_.Screenshot("session-12-change-during-lookup");
  EXPECT_EQ(internet_.web().CountRequests("/2.0/"), 1u);
  EXPECT_EQ(internet_.web().CountRequests("/126/harbour-lights.jpg"), 0u);
}

TEST_F(ShortStations, StreamThatEndsShowsNotPlaying) {
  session_.TapRow(ID_GENRE_LIST, bluesRow);
  ASSERT_EQ(session_.RowCount(ID_STATION_LIST), 1);
  session_.TapRow(ID_STATION_LIST, 0);
  ASSERT_TRUE(StatusShows(L"Mose Carter - Long Road"));
  ASSERT_TRUE(CoverBecomes("long-road.jpg"));
  session_.Screenshot("session-10-blues-playing");
  internet_.icecast().EndSource("/delta.mp3");
  ASSERT_TRUE(StatusShows(L"not playing", 30s));
  session_.Screenshot("session-11-end-of-stream");
}

TEST_F(ShortStations, OggSongsShowTheirTitlesAsTheChainChanges) {
  session_.TapRow(ID_GENRE_LIST, ambientRow);
  session_.TapRow(ID_STATION_LIST, 1);
  EXPECT_EQ(session_.Text(ID_TITLE_LINE), L"Slow Tide ");
  ASSERT_TRUE(StatusShows(L"Ora Sund - Tidepool"));
  session_.Screenshot("session-13-ogg-first-song");
  ASSERT_TRUE(StatusShows(L"Ora Sund - Undertow", 20s));
  EXPECT_EQ(nowPlaying.Get().artistText, L"Ora Sund");
  session_.Screenshot("session-14-ogg-next-song");
  internet_.icecast().EndSource("/tide.ogg");
  ASSERT_TRUE(StatusShows(L"not playing", 30s));
  // Ogg titles look up no cover.
  EXPECT_EQ(internet_.web().CountRequests("/2.0/"), 0u);
}

}  // namespace
}  // namespace e2e
