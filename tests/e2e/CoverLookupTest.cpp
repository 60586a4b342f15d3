#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "directory/ControlIds.h"
#include "directory/ServiceHosts.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "playback/MainWindowState.h"
#include "playback/PlaybackState.h"
#include "playback/ScreenMetrics.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/Icecast.h"

namespace e2e {
namespace {

constexpr COLORREF panel = RGB(38, 38, 40);

// A title announced by the station brings its cover: the track-info service and the cover's
// host are the fixture server, reached through the host map like the directory.
TEST(CoverLookup, NewTitleBringsTheCoverIntoTheStripAndTheView) {
  fixture::Icecast icecast;
  icecast.StartMp3Tone("/tone.mp3", 440, 120, "Tone 440");
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  ProgramSession session;
  session.directory().AddRoute(
      {.path = "/2.0/", .bodyFile = fixture::FixturePath("playback/track-with-album.xml")});
  session.directory().AddRoute(
      {.path = "/126/believe.jpg", .bodyFile = fixture::FixturePath("e2e/album-cover.jpg")});
  http::MapHost(kTrackInfoHost, kServicePort, "127.0.0.1", session.directory().port());
  http::MapHost("covers.example", 80, "127.0.0.1", session.directory().port());

  session.TapRow(ID_GENRE_LIST, 2);
  session.TapRow(ID_STATION_LIST, 0);
  ASSERT_TRUE(session.WaitForStatus(
      [](const std::wstring& status) { return status.find(L"Tone 440") != std::wstring::npos; },
      15s))
      << session.StatusHistoryText();

  icecast.SetTitle("/tone.mp3", "Cher - Believe");
  ASSERT_TRUE(session.WaitForStatus(L"nice one", 20s)) << session.StatusHistoryText();
  // The lookup redraws after its report, then ends.
  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s));
  headless::RunUntilIdle();
  const auto& history = session.statusHistory();
  EXPECT_NE(std::find(history.begin(), history.end(), L"Cher - Believe"), history.end())
      << session.StatusHistoryText();

  // The lookup laid the list out short and drew the strip with the cover's thumbnail.
  EXPECT_EQ(screenState.load(), StationScreen);
  EXPECT_EQ(session.Placement(ID_STATION_LIST).bottom, screen.height - 5 * lineHeight);
  const int stripTop = screen.height - 4 * lineHeight;
  const COLORREF thumbnail = headless::Pixel(37, stripTop + lineHeight);
  EXPECT_NE(thumbnail, panel);
  EXPECT_GT(GetRValue(thumbnail) + GetGValue(thumbnail), 150);
  session.Screenshot("08-cover-strip");

  session.Tap(screen.width / 2, stripTop);
  ASSERT_EQ(screenState.load(), PlayerScreen);
  session.Screenshot("09-cover-view");
}

}  // namespace
}  // namespace e2e
