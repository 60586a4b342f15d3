#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "directory/ServiceHosts.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/Icecast.h"
#include "tests/support/TempDir.h"

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
  session.ServeFoundAlbum();

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

// The track-info service refuses the key, as it does on the real internet: the station's titles
// bring their covers from the keyless sources, iTunes for the first and MusicBrainz with the
// archive for the next, and each fades in on the now-playing view.
TEST(CoverLookup, RefusedKeyStillBringsCoversFromTheKeylessSources) {
  fixture::Icecast icecast;
  icecast.StartMp3Tone("/tone.mp3", 440, 120, "Tone 440");
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  ProgramSession session;
  session.directory().AddRoute(
      {.path = "/2.0/",
       .status = 403,
       .bodyFile = fixture::FixturePath("playback/trackinfo-invalid-key.xml")});
  http::MapHost(kTrackInfoHost, kServicePort, "127.0.0.1", session.directory().port());

  const std::vector<std::string> hosts = {kItunesHost, kMusicBrainzHost, kCoverArchiveHost,
                                          "is1-ssl.mzstatic.com", "archive.org"};
  fixture::TempDir certificateDir;
  fixture::HttpFixture sources(fixture::HttpFixture::Options{
      .certificate = fixture::MakeSelfSignedCertificate(certificateDir.path(), hosts)});
  for (const std::string& host : hosts) {
    http::MapHost(host, kSecurePort, "127.0.0.1", sources.port());
  }
  http::TrustCertificateFile(certificateDir.path() + "/cert.pem");
  sources.AddRoute({.path = "/search",
                    .query = "term=Cher Believe&entity=song&limit=5",
                    .bodyFile = fixture::FixturePath("playback/itunes-believe.json")});
  sources.AddRoute({.path = "/image/thumb/Music115/v4/cher/believe/600x600bb.jpg",
                    .bodyFile = fixture::FixturePath("e2e/album-cover.jpg")});
  sources.AddRoute({.path = "/search",
                    .query = "term=Cher Strong Enough&entity=song&limit=5",
                    .bodyFile = fixture::FixturePath("playback/itunes-other-artist.json")});
  sources.AddRoute({.path = "/ws/2/recording",
                    .bodyFile = fixture::FixturePath("playback/musicbrainz-believe.xml")});
  constexpr char releaseWithCover[] = "/release/61bf0388-b8a9-48f4-81d1-7eb02706dfb0/front-500";
  sources.AddRoute({.path = releaseWithCover,
                    .status = 307,
                    .redirect = "https://archive.org/download/mbid-61bf0388/front.jpg"});
  sources.AddRoute({.path = "/download/mbid-61bf0388/front.jpg",
                    .bodyFile = fixture::FixturePath("internet/covers/golden-hour.jpg")});

  session.TapRow(ID_GENRE_LIST, toneGenreRow);
  session.TapRow(ID_STATION_LIST, toneStationRow);
  ASSERT_TRUE(session.WaitForStatus(
      [](const std::wstring& status) { return status.find(L"Tone 440") != std::wstring::npos; },
      15s))
      << session.StatusHistoryText();

  const int middle = screen.height / 2;
  COLORREF covers[2] = {};
  const char* songs[2] = {"Cher - Believe", "Cher - Strong Enough"};
  for (int i = 0; i < 2; ++i) {
    icecast.SetTitle("/tone.mp3", songs[i]);
    const auto coversReported = [&](const std::wstring&) {
      const auto& history = session.statusHistory();
      return std::count(history.begin(), history.end(), L"nice one") == i + 1;
    };
    ASSERT_TRUE(session.WaitForStatus(coversReported, 30s)) << session.StatusHistoryText();
    ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 10s));
    headless::RunUntilIdle();
    if (i == 0) {
      // The first cover came into the strip; a tap there opens the now-playing view.
      session.Tap(screen.width / 2, StripTop());
      ASSERT_EQ(screenState.load(), PlayerScreen);
    }
    covers[i] = headless::Pixel(screen.width / 2, middle);
    EXPECT_NE(covers[i], panel);
    session.Screenshot(i == 0 ? "10-keyless-cover-itunes" : "11-keyless-cover-archive");
  }
  EXPECT_NE(covers[0], covers[1]);
  EXPECT_EQ(session.directory().CountRequests("/2.0/"), 1u);
  EXPECT_EQ(sources.CountRequests("/ws/2/recording"), 1u);
  EXPECT_EQ(sources.CountRequests(releaseWithCover), 1u);
  http::TrustCertificateFile("");
}

}  // namespace
}  // namespace e2e
