#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "audio/AudioLibrary.h"
#include "directory/ServiceHosts.h"
#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/TempDir.h"

namespace e2e {
namespace {

const std::string favourites = "\r\n1001|Tone 440\r\n";
const std::string oldReply = "<lfm status=\"ok\"><track><name>Earlier</name></track></lfm>\n";

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The whole program while the internet misbehaves. The Tone genre's first station streams from
// the fixture server (a tone with ICY metadata) so that each test can break it its own way; the
// track-info service and the cover host are the fixture server too. The application folder
// starts with a favourites file, a cover and a track-info reply of an earlier run, none of which
// a fault may lose or spoil.
class FaultSession : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tone_ = new fixture::TempDir;
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:duration=20 -ac 2 "
        "-c:a libmp3lame -b:a 128k '" +
        tone_->File("tone.mp3") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() { delete tone_; }

  void SetUp() override {
    WriteFile(session_.folder() + "radios.txt", favourites);
    CopyFile(fixture::FixturePath("playback/cover-old.jpg"), session_.folder() + "folder.jpg");
    WriteFile(session_.folder() + "tmp.txt", oldReply);
    // Short time-outs, so that a stalled service is given up on within seconds.
    webClient.downloadLimits.connectTimeoutMs = 1000;
    webClient.downloadLimits.stallTimeoutMs = 1000;
    const int port = session_.directory().port();
    http::MapHost("tone.stream.test", 80, "127.0.0.1", port);
    http::MapHost(kTrackInfoHost, kServicePort, "127.0.0.1", port);
    http::MapHost("covers.example", 80, "127.0.0.1", port);
  }

  void TearDown() override {
    EXPECT_EQ(ReadAll(session_.folder() + "radios.txt"), favourites);
    EXPECT_EQ(ReadAll(session_.folder() + "folder.jpg"),
              ReadAll(fixture::FixturePath("playback/cover-old.jpg")));
  }

  // The station's stream: the tone with a metadata block every 8192 bytes, holding `titles`
  // ([offset, text] pairs in JSON); cut off after `dropAfter` bytes when that is not -1.
  void Station(const std::string& titles, long long dropAfter = -1,
               const std::string& path = "/tone.mp3") {
    session_.directory().AddRoute({.path = path,
                                   .statusLine = "ICY 200 OK",
                                   .headers = {{"icy-name", "Tone 440"},
                                               {"icy-metaint", "8192"},
                                               {"content-type", "audio/mpeg"}},
                                   .bodyFile = tone_->File("tone.mp3"),
                                   .dropAfter = dropAfter,
                                   .generator = "icy",
                                   .extraJson = R"("icy_metaint": 8192, "icy_titles": )" + titles});
  }

  void TuneInToTone() {
    session_.TapRow(ID_GENRE_LIST, toneGenreRow);
    ASSERT_EQ(session_.RowCount(ID_STATION_LIST), 3);
    session_.TapRow(ID_STATION_LIST, toneStationRow);
  }

  // Waits for the lookup that `status` reports to end, and for its redraw.
  bool LookupEndsWith(const std::wstring& status) {
    if (!session_.WaitForStatus(status, 20s)) {
      return false;
    }
    const bool ended = headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s);
    headless::RunUntilIdle();
    return ended;
  }

  bool Saw(const std::wstring& status) const {
    const auto& history = session_.statusHistory();
    return std::find(history.begin(), history.end(), status) != history.end();
  }

  static fixture::TempDir* tone_;
  ProgramSession session_;
};

fixture::TempDir* FaultSession::tone_ = nullptr;

constexpr char cherTitle[] = R"([[0, "StreamTitle='Cher - Believe';"]])";

TEST_F(FaultSession, DirectoryDownLeavesAnEmptyListCachesNothingAndTheNextChoiceTriesAgain) {
  http::MapHost(kDirectoryHost, kServicePort, "127.0.0.1", fixture::FreeLoopbackPort());
  session_.TapRow(ID_GENRE_LIST, toneGenreRow);
  EXPECT_TRUE(session_.Visible(ID_STATION_LIST));
  EXPECT_EQ(session_.RowCount(ID_STATION_LIST), 0);
  EXPECT_EQ(session_.Text(ID_STATUS_LINE), L"no stations");
  EXPECT_FALSE(std::filesystem::exists(session_.folder() + "Tone"));
  session_.Screenshot("fault-directory-down");

  // The directory is back, and its rest after giving no answer is over: the same genre is
  // fetched and listed.
  http::MapHost(kDirectoryHost, kServicePort, "127.0.0.1", session_.directory().port());
  const auto restOver = std::chrono::steady_clock::now() + kSilentDirectoryRest;
  webClient.now = [restOver] { return restOver; };
  session_.TapControl(ID_TITLE_LINE);
  session_.TapRow(ID_GENRE_LIST, toneGenreRow);
  EXPECT_EQ(session_.RowCount(ID_STATION_LIST), 3);
  EXPECT_TRUE(std::filesystem::exists(session_.folder() + "Tone"));
  webClient.now = std::chrono::steady_clock::now;
}

TEST_F(FaultSession, DirectoryErrorPageIsNeitherListedNorCached) {
  // A cached error page would stand for the genre for good: the cache is never refreshed.
  session_.directory().AddRoute({.path = "/sbin/newxml.phtml",
                                 .query = "genre=Tone&br=128&mt=audio/mpeg",
                                 .status = 500,
                                 .bodyFile = fixture::FixturePath("e2e/tone-stations.xml")});
  session_.TapRow(ID_GENRE_LIST, toneGenreRow);
  EXPECT_EQ(session_.RowCount(ID_STATION_LIST), 0);
  EXPECT_FALSE(std::filesystem::exists(session_.folder() + "Tone"));
  session_.Screenshot("fault-directory-500");
}

TEST_F(FaultSession, UnreachableStationShowsNotPlayingAndTheNextStationPlays) {
  Station(cherTitle);
  session_.directory().AddRoute({.path = "/2.0/", .status = 500, .body = "busy"});
  session_.TapRow(ID_GENRE_LIST, toneGenreRow);
  session_.TapRow(ID_STATION_LIST, nowhereStationRow);
  ASSERT_TRUE(session_.WaitForStatus(L"not playing")) << session_.StatusHistoryText();
  EXPECT_TRUE(Saw(L"connecting..."));
  EXPECT_EQ(session_.Text(ID_TITLE_LINE), L"Nowhere FM");
  session_.Screenshot("fault-station-unreachable");
  ASSERT_TRUE(session_.WaitForTuneInEnd());

  // The next choice plays: its title arrives, and the lookup that follows ends.
  session_.TapRow(ID_STATION_LIST, toneStationRow);
  EXPECT_TRUE(LookupEndsWith(L"buuuu")) << session_.StatusHistoryText();
  EXPECT_TRUE(Saw(L"Cher - Believe")) << session_.StatusHistoryText();
}

TEST_F(FaultSession, TrackInfoServiceErrorShowsBuuuuAndKeepsTheFiles) {
  Station(cherTitle);
  session_.directory().AddRoute({.path = "/2.0/", .status = 500, .body = "<lfm status=\"ok\">"});
  ASSERT_NO_FATAL_FAILURE(TuneInToTone());
  ASSERT_TRUE(LookupEndsWith(L"buuuu")) << session_.StatusHistoryText();
  EXPECT_TRUE(Saw(L"Cher - Believe")) << session_.StatusHistoryText();
  EXPECT_EQ(session_.directory().CountRequests("/2.0/"), 1u);
  EXPECT_EQ(ReadAll(session_.folder() + "tmp.txt"), oldReply);
  session_.Screenshot("fault-track-info-500");
}

TEST_F(FaultSession, StalledTrackInfoServiceIsGivenUpOnWithBuuuu) {
  Station(cherTitle);
  session_.directory().AddRoute({.path = "/2.0/",
                                 .bodyFile = fixture::FixturePath("playback/track-with-album.xml"),
                                 .stallAfter = 40,
                                 .stallSeconds = 60});
  ASSERT_NO_FATAL_FAILURE(TuneInToTone());
  ASSERT_TRUE(LookupEndsWith(L"buuuu")) << session_.StatusHistoryText();
  // The half reply never takes the place of the earlier one.
  EXPECT_EQ(ReadAll(session_.folder() + "tmp.txt"), oldReply);
  session_.Screenshot("fault-track-info-stall");
}

TEST_F(FaultSession, MissingCoverCountsAsNoCoverAndKeepsTheLastOne) {
  Station(cherTitle);
  session_.directory().AddRoute(
      {.path = "/2.0/", .bodyFile = fixture::FixturePath("playback/track-with-album.xml")});
  session_.directory().AddRoute({.path = "/126/believe.jpg", .status = 404, .body = "gone"});
  ASSERT_NO_FATAL_FAILURE(TuneInToTone());
  ASSERT_TRUE(LookupEndsWith(L"buuuu")) << session_.StatusHistoryText();
  EXPECT_EQ(session_.directory().CountRequests("/126/believe.jpg"), 1u);
  EXPECT_EQ(ReadAll(session_.folder() + "tmp.txt"),
            ReadAll(fixture::FixturePath("playback/track-with-album.xml")));
  session_.Screenshot("fault-cover-404");
}

TEST_F(FaultSession, StreamDroppedMidPlayShowsNotPlaying) {
  session_.directory().AddRoute({.path = "/2.0/", .status = 500});
  // About four seconds of sound, then the connection closes.
  Station("[]", 64 * 1024);
  ASSERT_NO_FATAL_FAILURE(TuneInToTone());
  ASSERT_TRUE(session_.WaitForStatus(
      [](const std::wstring& status) { return status.find(L"Tone 440") != std::wstring::npos; },
      15s))
      << session_.StatusHistoryText();
  EXPECT_TRUE(session_.WaitForStatus(L"not playing", 20s)) << session_.StatusHistoryText();
  session_.Screenshot("fault-stream-dropped");
}

// The station drops and is away (404) until the buffer has run dry. Its tries come on a schedule
// of twentieths of a second: at once, after 0.05, 0.1, 0.2 s ..., then every 1.5 s.
class DroppedStation : public FaultSession {
 protected:
  static constexpr auto kLongestWait = 1500ms;

  void SetUp() override {
    FaultSession::SetUp();
    BASS_SetConfig(BASS_CONFIG_NET_RECONNECT, 60000);
    BASS_SetConfig(BASS_CONFIG_NET_RECONNECT_UNIT, 50);
    session_.directory().AddRoute({.path = "/2.0/", .status = 500});
    Station(cherTitle, 64 * 1024);
    ASSERT_NO_FATAL_FAILURE(TuneInToTone());
    ASSERT_TRUE(session_.WaitForStatus(L"Cher - Believe", 15s)) << session_.StatusHistoryText();
    session_.directory().AddRoute({.path = "/tone.mp3", .status = 404, .body = "away"});
    ASSERT_TRUE(session_.WaitForStatus(L"reconnecting...", 30s)) << session_.StatusHistoryText();
  }
};

TEST_F(DroppedStation, ComesBackWithItsTitleAndNoSecondLookup) {
  session_.Screenshot("fault-stream-reconnecting");
  Station(cherTitle);
  EXPECT_TRUE(session_.WaitForStatus(L"Cher - Believe", 30s)) << session_.StatusHistoryText();
  // A lookup starts with the title it is for: a second one would have asked by now.
  headless::RunFor(500ms);
  EXPECT_EQ(session_.Text(ID_STATUS_LINE), L"Cher - Believe");
  EXPECT_EQ(session_.directory().CountRequests("/2.0/"), 1u);
  session_.Screenshot("fault-stream-back");
}

TEST_F(DroppedStation, TappingAnotherStationEndsTheTriesAndPlaysIt) {
  http::MapHost("short.stream.test", 80, "127.0.0.1", session_.directory().port());
  Station(R"([[0, "StreamTitle='Other - Song';"]])", -1, "/short.mp3");
  session_.TapRow(ID_STATION_LIST, 1);
  EXPECT_TRUE(session_.WaitForStatus(L"Other - Song", 15s)) << session_.StatusHistoryText();
  const std::size_t tries = session_.directory().CountRequests("/tone.mp3");
  headless::RunFor(kLongestWait + 500ms);
  EXPECT_EQ(session_.directory().CountRequests("/tone.mp3"), tries);
  EXPECT_EQ(session_.Text(ID_STATUS_LINE).find(L"reconnecting"), std::wstring::npos);
}

TEST_F(FaultSession, GarbageMetadataKeepsThePlayerGoingToTheEnd) {
  session_.directory().AddRoute({.path = "/2.0/", .status = 500});
  // Titles without an end mark, without a hyphen, nothing but a hyphen, a key of another name,
  // control characters, and one as long as a block can carry; then the stream ends.
  const std::string longTitle(3900, 'x');
  Station(R"([[0, "StreamTitle='no end mark"], [16384, "StreamTitle='no hyphen';"],)"
          R"( [32768, "StreamTitle='-';"], [49152, "StreamTitel='Cher - Believe';"],)"
          R"( [65536, "StreamTitle='\u0001\u0002 - \u00ff\u0000';"],)"
          R"( [81920, "StreamTitle=')" +
              longTitle + R"( - )" + longTitle.substr(0, 60) + R"(';"]])",
          160 * 1024);
  ASSERT_NO_FATAL_FAILURE(TuneInToTone());
  ASSERT_TRUE(session_.WaitForStatus(L"not playing", 25s)) << session_.StatusHistoryText();
  for (const std::wstring& status : session_.statusHistory()) {
    EXPECT_LT(status.size(), 260u);
  }
  EXPECT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s));
  session_.Screenshot("fault-garbage-metadata");
}

}  // namespace
}  // namespace e2e
