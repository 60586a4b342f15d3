#include "tests/e2e/ProgramSession.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/MainWindow.h"
#include "audio/AudioLibrary.h"
#include "directory/ServiceHosts.h"
#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/ListSelection.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenMetrics.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/OpenDirectoryServers.h"
#include "tests/support/SoundMeasure.h"

namespace e2e {

namespace {

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

}  // namespace

void OpenStripScreen(ProgramSession& session) {
  session.TapRow(ID_GENRE_LIST, toneGenreRow);
  session.TapRow(ID_STATION_LIST, nowhereStationRow);
  ASSERT_TRUE(session.WaitForStatus(L"not playing"));
  ASSERT_TRUE(session.WaitForTuneInEnd());
  SendMessageW(mainWindow, WM_SIZE, 0, 0);
  headless::RunUntilIdle();
  ASSERT_EQ(screenState.load(), StationScreen);
}

int StripTop() {
  return screen.height - 4 * lineHeight;
}

void ShortenReconnectTries() {
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT, 2000);
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  if (!file) {
    throw std::runtime_error("cannot write " + path);
  }
}

void CopyFile(const std::string& from, const std::string& to) {
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

ProgramSession::ProgramSession() : ProgramSession(Options{}) {}

ProgramSession::ProgramSession(const Options& options) {
  // The program's state lives for the process, as it does when the program runs: one session
  // per test process (ctest runs each test in a process of its own).
  static bool started = false;
  if (started) {
    throw std::logic_error("one program session per process: run a single test at a time");
  }
  started = true;
  const std::string data = std::string(TUNEDECK_SOURCE_DIR) + "/data/";
  for (const char* name : {"back.png", "exit.png", "add.png", "noAlbum.jpg"}) {
    CopyFile(data + name, folder_.File(name));
  }
  CopyFile(fixture::FixturePath("e2e/categories.txt"), folder_.File("categories.txt"));

  // The directory service: the Tone genre's station list and the stations' playlists.
  directory_.AddRoute({.path = "/sbin/newxml.phtml",
                       .query = "genre=Tone&br=128&mt=audio/mpeg",
                       .bodyFile = fixture::FixturePath("e2e/tone-stations.xml")});
  for (const auto& [id, playlist] :
       {std::pair{"1001", "e2e/tone440.pls"}, std::pair{"1002", "e2e/short.pls"},
        std::pair{"1003", "e2e/nowhere.pls"}}) {
    directory_.AddRoute({.path = "/sbin/tunein-station.pls",
                         .query = std::string("id=") + id,
                         .headers = {{"Content-Type", "audio/x-scpls"}},
                         .bodyFile = fixture::FixturePath(playlist)});
  }
  http::MapHost(kDirectoryHost, kServicePort, "127.0.0.1", directory_.port());
  http::MapHost("nowhere.stream.test", 80, "127.0.0.1", fixture::FreeLoopbackPort());
  // The keyless cover sources stay on loopback too; a test that plays them maps them again.
  for (const char* host : {kItunesHost, kMusicBrainzHost, kCoverArchiveHost}) {
    http::MapHost(host, kSecurePort, "127.0.0.1", fixture::FreeLoopbackPort());
  }
  // The open directory has no server names, and its discovery host refuses, until a test plays
  // it: nothing reaches beyond loopback.
  webClient.openDirectory.lookups = fixture::LookupsFinding({});
  http::MapHost(kOpenDirectoryDiscoveryHost, kOpenDirectoryPort, "127.0.0.1",
                fixture::FreeLoopbackPort());

  // The machine's own system bus stays out of the session unless a test brings one of its own:
  // without one, the program plays as it always did.
  setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/system_bus", 0);
  setenv("SDL_AUDIODRIVER", options.audioDriver.c_str(), 1);
  setenv("SDL_DISKAUDIOFILE", soundFile().c_str(), 1);
  headless::SetModulePath(Wide(folder_.File("tunedeck")));
  headless::SetInstanceChannel("tunedeck-e2e-" + std::to_string(getpid()));
  headless::ClearMessageBoxes();

  if (options.createWindow) {
    created_ = CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOW) != FALSE;
    ShortenReconnectTries();
    headless::RunUntilIdle();
  }
}

bool ProgramSession::RunUntilSoundFor(std::chrono::milliseconds length,
                                      std::chrono::milliseconds limit) {
  const auto frames = static_cast<std::size_t>(length.count() * 44100 / 1000);
  return headless::RunUntil(
      [&] {
        const sound::Recording sound = sound::ReadDiskAudio(soundFile());
        return sound.frames() > sound::FirstSound(sound) + frames;
      },
      limit);
}

ProgramSession::~ProgramSession() {
  // A tune-in under way ends first: nothing of the program runs on once the test is over.
  WaitForTuneInEnd();
  if (mainWindow != nullptr && IsWindow(mainWindow)) {
    SendMessageW(mainWindow, WM_CLOSE, 0, 0);
    headless::RunUntilIdle();
  }
  http::ClearHostMap();
}

void ProgramSession::ServeFoundAlbum() {
  directory_.AddRoute(
      {.path = "/2.0/", .bodyFile = fixture::FixturePath("playback/track-with-album.xml")});
  directory_.AddRoute(
      {.path = "/126/believe.jpg", .bodyFile = fixture::FixturePath("e2e/album-cover.jpg")});
  http::MapHost(kTrackInfoHost, kServicePort, "127.0.0.1", directory_.port());
  http::MapHost("covers.example", 80, "127.0.0.1", directory_.port());
}

HWND ProgramSession::Control(int id) const {
  return GetDlgItem(mainWindow, id);
}

RECT ProgramSession::Placement(int id) const {
  RECT rect = {};
  GetWindowRect(Control(id), &rect);
  return RECT{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

bool ProgramSession::Visible(int id) const {
  return IsWindowVisible(Control(id)) != FALSE;
}

std::wstring ProgramSession::Text(int id) const {
  WCHAR text[1024] = {};
  GetWindowTextW(Control(id), text, 1024);
  return text;
}

int ProgramSession::RowCount(int listId) const {
  return static_cast<int>(SendMessageW(Control(listId), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ProgramSession::RowText(int listId, int row, int column) const {
  return ::RowText(Control(listId), row, column);
}

void ProgramSession::Tap(int x, int y) {
  headless::Tap(x, y);
  headless::RunUntilIdle(10s);
  WatchStatusLine();
}

void ProgramSession::TapControl(int id) {
  const RECT place = Placement(id);
  Tap(place.left + place.right / 2, place.top + place.bottom / 2);
}

void ProgramSession::TapRow(int listId, int row) {
  const RECT place = Placement(listId);
  Tap(place.left + 40, place.top + row * listItemHeight + listItemHeight / 2);
}

void ProgramSession::WatchStatusLine() {
  if (!IsWindow(mainWindow) || Control(ID_STATUS_LINE) == watchedStatusLine_) {
    return;
  }
  watchedStatusLine_ = Control(ID_STATUS_LINE);
  RecordStatus(Text(ID_STATUS_LINE));
  headless::WatchText(watchedStatusLine_,
                      [this](const std::wstring& status) { RecordStatus(status); });
}

void ProgramSession::RecordStatus(const std::wstring& status) {
  if (statusHistory_.empty() || statusHistory_.back() != status) {
    statusHistory_.push_back(status);
  }
}

bool ProgramSession::WaitForStatus(const std::function<bool(const std::wstring&)>& done,
                                   std::chrono::milliseconds limit) {
  return headless::RunUntil(
      [&] {
        WatchStatusLine();
        return IsWindow(mainWindow) && done(Text(ID_STATUS_LINE));
      },
      limit);
}

bool ProgramSession::WaitForStatus(const std::wstring& text, std::chrono::milliseconds limit) {
  return WaitForStatus([&](const std::wstring& status) { return status == text; }, limit);
}

bool ProgramSession::WaitForTuneInEnd(std::chrono::milliseconds limit) {
  return headless::RunUntil([] { return tuneInThread.load() == nullptr; }, limit);
}

std::string ProgramSession::StatusHistoryText() const {
  std::string text = "status line history:";
  for (const std::wstring& status : statusHistory_) {
    text += " \"" + std::string(status.begin(), status.end()) + "\"";
  }
  return text;
}

void ProgramSession::Screenshot(const std::string& name) const {
  const std::string folder = std::string(E2E_SCREENSHOT_DIR);
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(headless::SaveScreen(folder + "/" + name + ".png")) << name;
}

}  // namespace e2e
