// The album-art lookup against a track-info service and cover host on loopback: what it leaves
// on disk, what the status line says, which cover the panel is pointed at, and what is redrawn.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"
#include "directory/ControlIds.h"
#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"
#include "playback/CoverWorker.h"
#include "playback/MainWindowState.h"
#include "playback/PlaybackState.h"
#include "playback/ScreenMetrics.h"
#include "playback/TrackTitle.h"
#include "playback/WorkerStart.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;

constexpr char trackInfoHost[] = "ws.audioscrobbler.com";
constexpr char coverHost[] = "covers.example";
constexpr char believeCover[] = "/126/believe.jpg";

std::vector<RECT> paintedRects;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    paintedRects.push_back(paint.rcPaint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Fixture(const std::string& name) {
  return ReadBytes(fixture::FixturePath("playback/" + name));
}

class CoverLookup : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    headless::UseHeadlessScreen(480, 640, 192);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.lpszClassName = L"CoverLookupTestWindow";
    RegisterClassW(&windowClass);
  }

  void SetUp() override {
    const std::wstring folder = Utf8ToWide(dir_.path() + "/");
    std::wcscpy(applicationFolder, folder.c_str());
    std::wcscpy(webClient.folder, folder.c_str());
    http::MapHost(trackInfoHost, 80, "127.0.0.1", server_.port());
    http::MapHost(coverHost, 80, "127.0.0.1", server_.port());

    window_ = CreateWindowExW(0, L"CoverLookupTestWindow", L"", WS_POPUP | WS_VISIBLE, 0, 0, 480,
                              640, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 600, 480, 40, window_,
                    reinterpret_cast<HMENU>(ID_STATUS_LINE), nullptr, nullptr);
    CreateWindowExW(0, L"SysListView32", L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 40, 480, 560,
                    window_, reinterpret_cast<HMENU>(ID_STATION_LIST), nullptr, nullptr);
    for (int id : {ID_BACK, ID_EXIT, ID_ADD}) {
      CreateWindowExW(0, L"Button", L"", WS_CHILD | BS_OWNERDRAW, 430, 40 + (id - ID_BACK), 49, 49,
                      window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    mainWindow = window_;
    screenWidth.store(480);
    screenHeight.store(640);
    screenState.store(PlayerScreen);
    artistText.Set(L"Cher");
    titleText.Set(L"Believe (Radio Edit)");
    headless::RunUntilIdle();
    paintedRects.clear();
  }

  void TearDown() override {
    webClient.downloadLimits = DownloadLimits();
    DestroyWindow(window_);
    mainWindow = nullptr;
    http::ClearHostMap();
  }

  void AnswerTrackInfo(const std::string& replyFixture, int status = 0) {
    server_.AddRoute({.path = "/2.0/",
                      .status = status,
                      .bodyFile = fixture::FixturePath("playback/" + replyFixture)});
  }
  void AnswerCover(int status = 0) {
    server_.AddRoute({.path = believeCover,
                      .status = status,
                      .bodyFile = fixture::FixturePath("playback/cover-believe.jpg")});
  }

  // Starts a lookup as a new title does and runs the window's loop until the worker is done.
  void RunLookup() {
    ASSERT_TRUE(StartWorker(coverThread, CoverWorker, window_));
    ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 60s));
    headless::RunUntilIdle();
  }

  // No cover: "buuuu", the placeholder shown, and the last cover left on disk.
  void ExpectPlaceholderWithTheOldCoverKept() const {
    EXPECT_EQ(StatusText(), L"buuuu");
    EXPECT_EQ(FileBytes("folder.jpg"), Fixture("cover-old.jpg"));
    EXPECT_EQ(coverImagePath.Get(), FolderFile(L"noAlbum.jpg"));
  }

  std::wstring StatusText() const {
    WCHAR text[260] = {};
    GetWindowTextW(GetDlgItem(window_, ID_STATUS_LINE), text, 260);
    return text;
  }
  std::string FileBytes(const std::string& name) const { return ReadBytes(dir_.File(name)); }
  std::wstring FolderFile(const std::wstring& name) const {
    return std::wstring(applicationFolder) + name;
  }
  bool Visible(int id) const { return IsWindowVisible(GetDlgItem(window_, id)) != FALSE; }

  fixture::TempDir dir_;
  fixture::HttpFixture server_;
  HWND window_ = nullptr;
};

TEST_F(CoverLookup, FoundAlbumFetchesTheCoverAndSaysNiceOne) {
  AnswerTrackInfo("track-with-album.xml");
  AnswerCover();
  RunLookup();

  EXPECT_EQ(StatusText(), L"nice one");
  EXPECT_EQ(FileBytes("tmp.txt"), Fixture("track-with-album.xml"));
  EXPECT_EQ(FileBytes("folder.jpg"), Fixture("cover-believe.jpg"));
  EXPECT_EQ(coverImagePath.Get(), FolderFile(L"folder.jpg"));
  EXPECT_EQ(noCover.load(), 0);
}

TEST_F(CoverLookup, QueryAsksForArtistAndTitleWithoutTheBracketPercentEncoded) {
  artistText.Set(L"Simon & Garfunkel");
  titleText.Set(L"Mrs. Robinson (Live)");
  AnswerTrackInfo("track-without-album.xml");
  RunLookup();

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
  RunLookup();

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
  RunLookup();

  ExpectPlaceholderWithTheOldCoverKept();
  EXPECT_EQ(FileBytes("tmp.txt"), Fixture("track-with-album.xml"));
  EXPECT_EQ(server_.CountRequests(believeCover), 0u);
}

TEST_F(CoverLookup, CoverAnswering404IsNoCoverAndKeepsTheOldOne) {
  WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
  AnswerTrackInfo("track-with-album.xml");
  AnswerCover(404);
  RunLookup();

  ExpectPlaceholderWithTheOldCoverKept();
  EXPECT_EQ(noCover.load(), 1);
  EXPECT_EQ(server_.CountRequests(believeCover), 1u);
}

TEST_F(CoverLookup, AlbumWithoutLargeImageIsNoCover) {
  WriteBytes(dir_.File("folder.jpg"), Fixture("cover-old.jpg"));
  AnswerTrackInfo("album-without-large-image.xml");
  RunLookup();

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
  titleText.Set(L"Strong Enough");
  EXPECT_FALSE(StartWorker(coverThread, CoverWorker, window_));

  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 60s));
  headless::RunUntilIdle();
  EXPECT_EQ(StatusText(), L"buuuu");
  EXPECT_EQ(FileBytes("folder.jpg"), Fixture("cover-old.jpg"));
  EXPECT_EQ(server_.CountRequests("/2.0/"), 1u);
  EXPECT_FALSE(std::ifstream(dir_.File("tmp.txt")).good());
}

TEST_F(CoverLookup, PlayerScreenHidesTheListShowsTheButtonsAndRedrawsTheWholeWindow) {
  screenState.store(PlayerScreen);
  AnswerTrackInfo("track-without-album.xml");
  RunLookup();

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
  RunLookup();

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
  RunLookup();

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
  EXPECT_EQ(artistText.Get(), L"Cher");
  EXPECT_EQ(titleText.Get(), L"Believe (Live)");
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

  // Once the lookup is over, the next title gets its own.
  UpdateTrackTitle();
  ASSERT_TRUE(headless::RunUntil([] { return coverThread.load() == nullptr; }, 30s));
  EXPECT_EQ(server_.CountRequests("/2.0/"), 2u);
}

}  // namespace
