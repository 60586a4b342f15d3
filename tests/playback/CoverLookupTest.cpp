// The album-art lookup against a track-info service and cover host on loopback: what it leaves
// on disk, what the status line says, which cover the panel is pointed at, and what is redrawn.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "audio/AudioLibrary.h"
#include "playback/TrackTitle.h"
#include "tests/playback/CoverLookupFixture.h"

namespace {

using namespace cover_test;

TEST_F(CoverLookup, FoundAlbumFetchesTheCoverAndSaysNiceOne) {
  AnswerTrackInfo("track-with-album.xml");
  AnswerCover();
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  EXPECT_EQ(StatusText(), L"nice one");
  EXPECT_EQ(FileBytes("tmp.txt"), Fixture("track-with-album.xml"));
  EXPECT_EQ(FileBytes("folder.jpg"), Fixture("cover-believe.jpg"));
  EXPECT_EQ(coverImagePath.Get(), FolderFile(L"folder.jpg"));
  EXPECT_EQ(noCover.load(), 0);
  EXPECT_TRUE(sources_.Requests().empty());
}

TEST_F(CoverLookup, QueryAsksForArtistAndTitleWithoutTheBracketPercentEncoded) {
  nowPlaying.Set(L"Simon & Garfunkel", L"Mrs. Robinson (Live)");
  AnswerTrackInfo("track-without-album.xml");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/2.0/");
  EXPECT_EQ(requests[0].query,
            "method=track.getinfo&api_key=5e0c7a19d2b84f63a1c09e7d3b6f2a84"
            "&artist=Simon%20%26%20Garfunkel&track=Mrs.%20Robinson");
  EXPECT_EQ(requests[0].Header("User-Agent"), "duvEridaz");
}

TEST_F(CoverLookup, NoAlbumSaysBuuuuShowsThePlaceholderAndKeepsTheOldCover) {
  WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
  AnswerTrackInfo("track-without-album.xml");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectPlaceholderWithTheOldCoverKept();
  EXPECT_EQ(FileBytes("tmp.txt"), Fixture("track-without-album.xml"));
  EXPECT_EQ(noCover.load(), 1);
  EXPECT_EQ(server_.CountRequests(believeCover), 0u);
}

TEST_F(CoverLookup, ServiceAnswering500IsNoAlbumEvenWhenTheOldReplyHadOne) {
  // The last lookup's reply, with an album, is still on disk.
  WriteBytes(dir_.File("tmp.txt"), Fixture("track-with-album.xml"));
  WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
  AnswerTrackInfo("track-with-album.xml", 500);
  AnswerCover();
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectPlaceholderWithTheOldCoverKept();
  EXPECT_EQ(FileBytes("tmp.txt"), Fixture("track-with-album.xml"));
  EXPECT_EQ(server_.CountRequests(believeCover), 0u);
}

TEST_F(CoverLookup, CoverAnswering404IsNoCoverAndKeepsTheOldOne) {
  WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
  AnswerTrackInfo("track-with-album.xml");
  AnswerCover(404);
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectPlaceholderWithTheOldCoverKept();
  EXPECT_EQ(noCover.load(), 1);
  EXPECT_EQ(server_.CountRequests(believeCover), 1u);
}

TEST_F(CoverLookup, AlbumWithoutLargeImageIsNoCover) {
  WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
  AnswerTrackInfo("album-without-large-image.xml");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  ExpectPlaceholderWithTheOldCoverKept();
}

TEST_F(CoverLookup, StallingServiceEndsInBuuuuAndANewTitleMeanwhileStartsNoSecondLookup) {
  WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
  webClient.downloadLimits.stallTimeoutMs = 1000;
  server_.AddRoute(
      {.path = "/2.0/", .body = Fixture("track-with-album.xml"), .headerDelaySeconds = 120});
  AnswerCover();
  ASSERT_TRUE(StartWorker(coverThread, CoverWorker, window_));
  ASSERT_TRUE(headless::RunUntil([&] { return server_.CountRequests("/2.0/") == 1; }, 10s));
  // A title change while the lookup waits: the mark is taken, so no second worker starts.
  nowPlaying.Set(L"Cher", L"Strong Enough");
  EXPECT_FALSE(StartWorker(coverThread, CoverWorker, window_));

  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 60s));
  headless::RunUntilIdle();
  EXPECT_EQ(StatusText(), L"buuuu");
  EXPECT_EQ(FileBytes("folder.jpg"), Fixture("cover-old.jpg"));
  EXPECT_EQ(server_.CountRequests("/2.0/"), 1u);
  EXPECT_FALSE(std::ifstream(dir_.File("tmp.txt")).good());
}

TEST_F(CoverLookup, NowPlayingViewShowsTheButtonsAndRedrawsTheWholeWindow) {
  screenState.store(PlayerScreen);
  ShowWindow(GetDlgItem(window_, ID_STATION_LIST), SW_HIDE);
  headless::RunUntilIdle();
  AnswerTrackInfo("track-without-album.xml");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  EXPECT_FALSE(Visible(ID_STATION_LIST));
  EXPECT_TRUE(Visible(ID_BACK));
  EXPECT_TRUE(Visible(ID_ADD));
  EXPECT_TRUE(Visible(ID_EXIT));
  // Everything above the status line, where the now-playing view goes.
  ASSERT_FALSE(paintedRects.empty());
  const RECT& painted = paintedRects.back();
  EXPECT_LE(painted.left, 0);
  EXPECT_LE(painted.top, 40);
  EXPECT_GE(painted.right, 480);
  EXPECT_GE(painted.bottom, 600);
}

TEST_F(CoverLookup, StationScreenShowsTheListAndRedrawsOnlyTheStrip) {
  screenState.store(StationScreen);
  ShowWindow(GetDlgItem(window_, ID_STATION_LIST), SW_HIDE);
  headless::RunUntilIdle();
  paintedRects.clear();
  AnswerTrackInfo("track-without-album.xml");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  EXPECT_TRUE(Visible(ID_STATION_LIST));
  EXPECT_FALSE(Visible(ID_BACK));
  RECT list;
  GetWindowRect(GetDlgItem(window_, ID_STATION_LIST), &list);
  EXPECT_EQ(list.bottom, 640 - 4 * lineHeight);
  ASSERT_EQ(paintedRects.size(), 1u);
  EXPECT_EQ(paintedRects[0].top, 640 - 4 * lineHeight);
  EXPECT_EQ(paintedRects[0].bottom, 640 - lineHeight);
  EXPECT_EQ(paintedRects[0].left, 0);
  EXPECT_EQ(paintedRects[0].right, 480);
}

TEST_F(CoverLookup, GenreScreenRedrawsNothing) {
  screenState.store(GenreScreen);
  AnswerTrackInfo("track-without-album.xml");
  ASSERT_NO_FATAL_FAILURE(RunLookup());

  EXPECT_EQ(StatusText(), L"buuuu");
  EXPECT_TRUE(Visible(ID_STATION_LIST));
  EXPECT_FALSE(Visible(ID_BACK));
  EXPECT_TRUE(paintedRects.empty());
}

// A station whose stream announces a title: UpdateTrackTitle shows it and starts the lookup.
class LookupOnNewTitle : public CoverLookup {
 protected:
  static void SetUpTestSuite() {
    CoverLookup::SetUpTestSuite();
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // no sound device on a test machine
    tone_ = new fixture::TempDir;
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:duration=6 -ac 2 "
        "-c:a libmp3lame -b:a 128k '" +
        tone_->File("tone.mp3") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static void TearDownTestSuite() { delete tone_; }

  void SetUp() override {
    CoverLookup::SetUp();
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    server_.AddRoute({.path = "/station",
                      .statusLine = "ICY 200 OK",
                      .headers = {{"icy-name", "Fixture FM"},
                                  {"icy-metaint", "8192"},
                                  {"content-type", "audio/mpeg"}},
                      .bodyFile = tone_->File("tone.mp3"),
                      .generator = "icy",
                      .extraJson =
                          R"("icy_metaint": 8192, )"
                          R"("icy_titles": [[0, "StreamTitle='Cher - Believe (Live)';"]])"});
  }
  void TearDown() override {
    currentStream.store(0);
    BASS_Free();
    CoverLookup::TearDown();
  }

  // Plays the station until its title has arrived.
  void TuneIn() {
    const std::wstring url = Utf8ToWide(server_.BaseUrl() + "/station");
    const DWORD stream =
        BASS_StreamCreateURL(url.c_str(), 0, BASS_UNICODE | BASS_STREAM_BLOCK, nullptr, nullptr);
    ASSERT_NE(stream, 0u);
    currentStream.store(stream);
    BASS_ChannelPlay(stream, FALSE);
    ASSERT_TRUE(headless::RunUntil(
        [stream] { return BASS_ChannelGetTags(stream, BASS_TAG_META) != nullptr; }, 10s));
  }

  static fixture::TempDir* tone_;
};

fixture::TempDir* LookupOnNewTitle::tone_ = nullptr;

TEST_F(LookupOnNewTitle, TitleShowsAndStartsOneLookupAtATime) {
  // The service takes a while to answer, long enough for the next title to come meanwhile.
  server_.AddRoute({.path = "/2.0/",
                    .bodyFile = fixture::FixturePath("playback/track-with-album.xml"),
                    .headerDelaySeconds = 1.5});
  AnswerCover();
  ASSERT_NO_FATAL_FAILURE(TuneIn());

  UpdateTrackTitle();
  EXPECT_EQ(StatusText(), L"Cher - Believe (Live)");
  EXPECT_EQ(nowPlaying.Get().artistText, L"Cher");
  EXPECT_EQ(nowPlaying.Get().titleText, L"Believe (Live)");
  EXPECT_NE(coverThread.load(), nullptr);
  ASSERT_TRUE(headless::RunUntil([&] { return server_.CountRequests("/2.0/") == 1; }, 10s));

  UpdateTrackTitle();
  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 30s));
  headless::RunUntilIdle();
  EXPECT_EQ(StatusText(), L"nice one");
  EXPECT_EQ(FileBytes("folder.jpg"), Fixture("cover-believe.jpg"));
  EXPECT_EQ(server_.CountRequests("/2.0/"), 1u);
  for (const auto& request : server_.Requests()) {
    if (request.path == "/2.0/") {
      EXPECT_NE(request.query.find("&artist=Cher&track=Believe"), std::string::npos);
    }
  }

  // Once the lookup is over, the next title gets its own; for the same track again it is
  // answered from what this run found, without asking the service.
  UpdateTrackTitle();
  EXPECT_NE(coverThread.load(), nullptr);
  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 30s));
  headless::RunUntilIdle();
  EXPECT_EQ(StatusText(), L"nice one");
  EXPECT_EQ(server_.CountRequests("/2.0/"), 1u);
}

}  // namespace
