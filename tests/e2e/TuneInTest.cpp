#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/Icecast.h"
#include "tests/support/SoundMeasure.h"

namespace e2e {
namespace {

constexpr int shortStationRow = 1;

// The Tone genre's stations on a real streaming server: a steady 440 Hz tone, and a short one
// whose source ends after a few seconds.
class TuneIn : public ::testing::Test {
 protected:
  void SetUp() override {
    icecast_.StartMp3Tone("/tone.mp3", 440, 120, "Tone 440");
    icecast_.StartMp3Tone("/short.mp3", 440, 4, "Short Tone");
    http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast_.port());
    http::MapHost("short.stream.test", 80, "127.0.0.1", icecast_.port());
    session_.TapRow(ID_GENRE_LIST, toneGenreRow);
    ASSERT_EQ(session_.RowCount(ID_STATION_LIST), 3);
  }

  static bool IsStationName(const std::wstring& status, const std::wstring& name) {
    return status == name || status == L" " + name;
  }

  bool Saw(const std::wstring& status) const {
    const auto& history = session_.statusHistory();
    return std::find(history.begin(), history.end(), status) != history.end();
  }

  fixture::Icecast icecast_;
  ProgramSession session_;
};

TEST_F(TuneIn, StationTapConnectsBuffersShowsTheNameAndPlays) {
  session_.TapRow(ID_STATION_LIST, toneStationRow);
  EXPECT_EQ(session_.Text(ID_TITLE_LINE), L"Tone 440 ");
  EXPECT_EQ(screenState.load(), StationScreen);
  ASSERT_TRUE(session_.WaitForStatus(
      [](const std::wstring& status) { return IsStationName(status, L"Tone 440"); }, 15s))
      << session_.StatusHistoryText();

  // "connecting...", then buffering percentages up to 75, then the station's name.
  const auto& history = session_.statusHistory();
  const auto connecting = std::find(history.begin(), history.end(), L"connecting...");
  ASSERT_NE(connecting, history.end());
  int percentages = 0;
  for (auto status = connecting; status != history.end(); ++status) {
    int percent = -1;
    if (swscanf(status->c_str(), L"buffering... %d%%", &percent) == 1) {
      EXPECT_GE(percent, 0);
      EXPECT_LE(percent, 75);
      ++percentages;
    }
  }
  EXPECT_GT(percentages, 0);

  ASSERT_TRUE(session_.RunUntilSoundFor(1500ms));
  const sound::Recording sound = sound::ReadDiskAudio(session_.soundFile());
  const std::size_t first = sound::FirstSound(sound);
  ASSERT_LT(first + 44100, sound.frames()) << "less than a second of sound was played";
  EXPECT_NEAR(sound::FrequencyHz(sound, {first + 4410, 44100 / 2}), 440.0, 2.0);
  session_.Screenshot("06-playing");
}

TEST_F(TuneIn, StationTapAfterANewTitlesLookupEndedOverTheListTunesIn) {
  session_.ServeFoundAlbum();
  session_.TapRow(ID_STATION_LIST, toneStationRow);
  ASSERT_TRUE(session_.WaitForStatus(
      [](const std::wstring& status) { return IsStationName(status, L"Tone 440"); }, 15s))
      << session_.StatusHistoryText();
  // Back to the genres and into one: the list is shown while the station plays on.
  session_.TapControl(ID_TITLE_LINE);
  session_.TapRow(ID_GENRE_LIST, toneGenreRow);
  ASSERT_TRUE(session_.Visible(ID_STATION_LIST));
  // The station's next title is looked up, and the lookup ends while the list is browsed.
  icecast_.SetTitle("/tone.mp3", "Cher - Believe");
  ASSERT_TRUE(session_.WaitForStatus(L"nice one", 20s)) << session_.StatusHistoryText();
  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s));
  headless::RunUntilIdle();
  EXPECT_TRUE(session_.Visible(ID_STATION_LIST));
  session_.Screenshot("lookup-ended-over-the-list");

  const std::size_t playlists = session_.directory().CountRequests("/sbin/tunein-station.pls");
  session_.TapRow(ID_STATION_LIST, shortStationRow);
  EXPECT_EQ(session_.Text(ID_TITLE_LINE), L"Short Tone");
  EXPECT_EQ(screenState.load(), StationScreen);
  ASSERT_TRUE(session_.WaitForTuneInEnd());
  EXPECT_EQ(session_.directory().CountRequests("/sbin/tunein-station.pls"), playlists + 1);
}

TEST_F(TuneIn, SecondStationTapWhileConnectingBeepsAndChangesOnlyTheTitle) {
  // The directory takes its time with the first station's playlist.
  session_.directory().AddRoute({.path = "/sbin/tunein-station.pls",
                                 .query = "id=1001",
                                 .headers = {{"Content-Type", "audio/x-scpls"}},
                                 .bodyFile = fixture::FixturePath("e2e/tone440.pls"),
                                 .headerDelaySeconds = 2});
  session_.TapRow(ID_STATION_LIST, toneStationRow);
  ASSERT_TRUE(session_.WaitForStatus(L"connecting..."));
  const int beeps = headless::BeepCount();
  session_.TapRow(ID_STATION_LIST, shortStationRow);
  EXPECT_EQ(headless::BeepCount(), beeps + 1);
  EXPECT_EQ(session_.Text(ID_TITLE_LINE), L"Short Tone");
  // The first station keeps connecting and plays.
  EXPECT_TRUE(session_.WaitForStatus(
      [](const std::wstring& status) { return IsStationName(status, L"Tone 440"); }, 15s))
      << session_.StatusHistoryText();
  EXPECT_EQ(session_.directory().CountRequests("/sbin/tunein-station.pls"), 1u);
}

TEST_F(TuneIn, UnreachableStationEndsWithNotPlayingAndNoTimer) {
  session_.TapRow(ID_STATION_LIST, nowhereStationRow);
  ASSERT_TRUE(session_.WaitForStatus(L"not playing")) << session_.StatusHistoryText();
  EXPECT_TRUE(Saw(L"connecting..."));
  // No buffering timer is left: nothing comes for the window after a few of its periods.
  headless::RunUntilIdle();
  Sleep(200);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    EXPECT_NE(message.message, WM_TIMER);
    DispatchMessageW(&message);
  }
  EXPECT_EQ(session_.Text(ID_STATUS_LINE), L"not playing");
  EXPECT_FALSE(Saw(L"buffering... 0%"));
}

TEST_F(TuneIn, EndOfTheStreamShowsNotPlaying) {
  session_.TapRow(ID_STATION_LIST, shortStationRow);
  ASSERT_TRUE(session_.WaitForStatus(
      [](const std::wstring& status) { return IsStationName(status, L"Short Tone"); }, 15s))
      << session_.StatusHistoryText();
  EXPECT_TRUE(session_.WaitForStatus(L"not playing", 30s)) << session_.StatusHistoryText();
}

TEST_F(TuneIn, IdThatIsNeitherDigitsNorAStationUuidIsRefusedWithNotPlaying) {
  WriteFile(session_.folder() + "radios.txt",
            "\r\nab&c d|Odd Id Radio\r\n9617a958-0601-11e8-ae97-52543be04c8|Short Uuid Radio");
  session_.TapControl(ID_TITLE_LINE);
  session_.TapRow(ID_GENRE_LIST, 0);
  for (int row : {0, 1}) {
    session_.TapRow(ID_STATION_LIST, row);
    EXPECT_EQ(session_.Text(ID_STATUS_LINE), L"not playing");
    EXPECT_EQ(tuneInThread.load(), nullptr);
  }
  EXPECT_EQ(session_.directory().CountRequests("/sbin/tunein-station.pls"), 0u);
}

TEST_F(TuneIn, AddressThatCannotFitIsRefusedWithNotPlaying) {
  WriteFile(session_.folder() + "radios.txt", "\r\n" + std::string(240, '7') + "|Long Id Radio");
  session_.TapControl(ID_TITLE_LINE);
  session_.TapRow(ID_GENRE_LIST, 0);
  session_.TapRow(ID_STATION_LIST, 0);
  EXPECT_EQ(session_.Text(ID_TITLE_LINE), L"Long Id Radio");
  EXPECT_EQ(session_.Text(ID_STATUS_LINE), L"not playing");
  EXPECT_EQ(session_.directory().CountRequests("/sbin/tunein-station.pls"), 0u);
  // Nothing is left under way: the next choice tunes in.
  session_.TapControl(ID_TITLE_LINE);
  session_.TapRow(ID_GENRE_LIST, toneGenreRow);
  session_.TapRow(ID_STATION_LIST, toneStationRow);
  EXPECT_TRUE(session_.WaitForStatus(
      [](const std::wstring& status) { return IsStationName(status, L"Tone 440"); }, 15s))
      << session_.StatusHistoryText();
}

}  // namespace
}  // namespace e2e
