// The album-art lookup against services on loopback: the track-info service and its cover host
// over HTTP, the keyless sources and their image hosts over HTTPS, each reached through the host
// map. A headless main window with the controls the lookup touches records what it repaints.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "directory/ServiceHosts.h"
#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"
#include "playback/CoverMemory.h"
#include "playback/CoverWorker.h"
#include "playback/PlaybackState.h"
#include "playback/WorkerStart.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace cover_test {

using namespace std::chrono_literals;

inline constexpr char trackInfoHost[] = "ws.audioscrobbler.com";
inline constexpr char coverHost[] = "covers.example";
inline constexpr char believeCover[] = "/126/believe.jpg";
// Where the real iTunes and Cover Art Archive send for their images.
inline constexpr char itunesImageHost[] = "is1-ssl.mzstatic.com";
inline constexpr char archiveImageHost[] = "archive.org";

inline std::vector<RECT> paintedRects;

inline LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    paintedRects.push_back(paint.rcPaint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string Fixture(const std::string& name) {
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
    if (certificateDir_ == nullptr) {
      certificateDir_ = new fixture::TempDir;
      certificate_ = fixture::MakeSelfSignedCertificate(
          certificateDir_->path(),
          {kItunesHost, kMusicBrainzHost, kCoverArchiveHost, itunesImageHost, archiveImageHost});
    }
  }

  void SetUp() override {
    const std::wstring folder = Utf8ToWide(dir_.path() + "/");
    std::wcscpy(applicationFolder, folder.c_str());
    std::wcscpy(webClient.folder, folder.c_str());
    coverMemory.Clear();
    http::MapHost(trackInfoHost, 80, "127.0.0.1", server_.port());
    http::MapHost(coverHost, 80, "127.0.0.1", server_.port());
    for (const char* host :
         {kItunesHost, kMusicBrainzHost, kCoverArchiveHost, itunesImageHost, archiveImageHost}) {
      http::MapHost(host, kSecurePort, "127.0.0.1", sources_.port());
    }
    http::TrustCertificateFile(certificate_.certFile);

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
    nowPlaying.Set(L"Cher", L"Believe (Radio Edit)");
    headless::RunUntilIdle();
    paintedRects.clear();
  }

  void TearDown() override {
    webClient.downloadLimits = DownloadLimits();
    DestroyWindow(window_);
    mainWindow = nullptr;
    http::ClearHostMap();
    http::TrustCertificateFile("");
  }

  void AnswerTrackInfo(const std::string& replyFixture, int status = 0) {
    server_.AddRoute({.path = "/2.0/",
                      .status = status,
                      .bodyFile = fixture::FixturePath("playback/" + replyFixture)});
  }
  void AnswerCover(int status = 0) {
    server_.AddRoute(
        {.path = believeCover,
         .status = status,
         .bodyFile = fixture::FixturePath("playback/" + std::string("cover-believe.jpg"))});
  }

  // Starts a lookup as a new title does and runs the window's loop until the worker is done.
  // Call through ASSERT_NO_FATAL_FAILURE.
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

  static inline fixture::TempDir* certificateDir_ = nullptr;
  static inline fixture::Certificate certificate_;

  fixture::TempDir dir_;
  fixture::HttpFixture server_;
  // The keyless sources and their image hosts.
  fixture::HttpFixture sources_{fixture::HttpFixture::Options{.certificate = certificate_}};
  HWND window_ = nullptr;
};

}  // namespace cover_test
