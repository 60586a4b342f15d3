// A station the open directory marks as HLS is a row of its genre; a tap plays its live
// segments as any station plays: buffering, its tone, its name from the list, then the title its
// segments carry with the title's cover, which the desktop's player controls see as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/HlsStation.h"
#include "tests/support/OpenDirectoryServers.h"
#include "tests/support/SessionBus.h"
#include "tests/support/SoundMeasure.h"

namespace e2e {
namespace {

constexpr char kServer[] = "de1.api.radio-browser.info";
constexpr int ambientRow = 1;
constexpr COLORREF panel = RGB(38, 38, 40);
// A silence this long (186 ms) or longer is a gap in the tone.
constexpr std::size_t kGapFrames = 8192;
// The live list holds 102 to 106 when the station is tapped; playing starts three segments back
// from its edge, at 104, whose title lasts until 108.
constexpr std::uint64_t kFirstListed = 102;
constexpr std::uint64_t kFirstHeard = 104;

bool StartsWith(const std::wstring& text, const std::wstring& start) {
  return text.rfind(start, 0) == 0;
}

TEST(HlsStation, OpenDirectoryRowPlaysItsToneTitleCoverAndPlayerMetadata) {
  fixture::SessionBus bus;
  fixture::OpenDirectoryServers servers{{kServer}};
  ProgramSession session;
  fixture::HlsStation station(session.directory(), "/live/tone.m3u8",
                              fixture::SegmentKind::TransportStream);
  const fixture::HlsStation::Window listed{.first = kFirstListed, .count = 5};
  station.Publish(listed);
  servers.server(kServer).AddRoute(
      {.path = "/xml/stations/search",
       .query = "tag=ambient&tagExact=true&hidebroken=true&order=clickcount&reverse=true"
                "&limit=1000",
       .headers = {{"Content-Type", "text/xml"}},
       .bodyFile = fixture::FixturePath("e2e/open-hls.xml")});
  servers.server(kServer).AddRoute(
      {.path = "/pls/url/4c1d2e3f-8a9b-4c0d-9e1f-2a3b4c5d6e7f",
       .headers = {{"Content-Type", "audio/x-scpls"}},
       .body = "[playlist]\nNumberOfEntries=1\nTitle1=Open HLS Tone - live in segments\n"
               "File1=http://hls.stream.test/live/tone.m3u8\n"});
  http::MapHost("hls.stream.test", 80, "127.0.0.1", session.directory().port());
  webClient.openDirectory.lookups = servers.Lookups();
  session.ServeFoundAlbum();
  fixture::PlayerClient player("tunedeck");
  ASSERT_TRUE(headless::RunUntil([&] { return player.Present(); }, 10s));

  session.TapRow(ID_GENRE_LIST, ambientRow);
  ASSERT_EQ(session.RowCount(ID_STATION_LIST), 1);
  EXPECT_EQ(session.RowText(ID_STATION_LIST, 0, 0), L"Open HLS Tone ");
  session.Screenshot("hls-station-row");

  session.TapRow(ID_STATION_LIST, 0);
  // The list goes live once the station has it, so that what plays first is known.
  ASSERT_TRUE(headless::RunUntil(
      [&] { return session.directory().CountRequests(station.SegmentPath(kFirstHeard)) > 0; }, 20s))
      << session.StatusHistoryText();
  station.Slide(listed);
  ASSERT_TRUE(session.WaitForStatus(L"nice one", 30s)) << session.StatusHistoryText();
  const auto& history = session.statusHistory();
  const auto named = std::find(history.begin(), history.end(), L"Open HLS Tone ");
  ASSERT_NE(named, history.end()) << session.StatusHistoryText();
  EXPECT_TRUE(std::any_of(history.begin(), named, [](const std::wstring& status) {
    return StartsWith(status, L"buffering... ");
  })) << session.StatusHistoryText();
  EXPECT_NE(std::find(named, history.end(), L"Artist 26 - Song 26"), history.end())
      << session.StatusHistoryText();

  // The player controls: the segment's title, the station's name from its row, and the cover
  // the title brought.
  ASSERT_TRUE(headless::RunUntil(
      [&] {
        player.Process();
        return std::any_of(player.changes().begin(), player.changes().end(), [](const auto& c) {
          if (!c.metadata) {
            return false;
          }
          fixture::Metadata metadata = *c.metadata;
          return metadata["xesam:title"] == "Song 26" && metadata["xesam:artist"] == "Artist 26" &&
                 metadata["xesam:album"] == "Open HLS Tone" && !metadata["mpris:artUrl"].empty();
        });
      },
      10s));

  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s));
  headless::RunUntilIdle();
  session.Screenshot("hls-playing");
  session.Tap(screen.width / 2, StripTop());
  ASSERT_EQ(screenState.load(), PlayerScreen);
  EXPECT_NE(headless::Pixel(screen.width / 2, screen.height / 2), panel);
  session.Screenshot("hls-cover-view");

  // The tone, unbroken across the segments and the list's reloads.
  ASSERT_TRUE(session.RunUntilSoundFor(3s));
  const sound::Recording sound = sound::ReadDiskAudio(session.soundFile());
  const std::size_t first = sound::FirstSound(sound);
  const sound::Span heard{first, sound::EndOfSound(sound) - first};
  EXPECT_NEAR(sound::FrequencyHz(sound, heard), 440.0, 2.0);
  EXPECT_TRUE(sound::Silences(sound, heard, kGapFrames).empty());
  EXPECT_EQ(session.directory().CountRequests(station.SegmentPath(kFirstHeard - 1)), 0u);
  EXPECT_EQ(session.directory().CountRequests(station.SegmentPath(kFirstHeard)), 1u);
}

}  // namespace
}  // namespace e2e
