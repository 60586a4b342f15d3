// The whole program, in this process, on the headless screen, with the simulated internet on
// loopback: the fixture directory service, and stream servers reached through the host map.
// Everything is driven as a person would: taps, and the loop run until the screen settles.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Win32.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

namespace e2e {

using namespace std::chrono_literals;

// The screen this test program runs on (ScreenChoice.cpp).
struct Screen {
  int width;
  int height;
  int dpi;
};
constexpr Screen screen = {E2E_SCREEN_WIDTH, E2E_SCREEN_HEIGHT, E2E_SCREEN_DPI};

class ProgramSession {
 public:
  struct Options {
    // The SDL audio driver the engine opens; "disk" writes the sound to soundFile().
    std::string audioDriver = "disk";
    // False: everything is prepared, and the test starts the program itself (WinMain).
    bool createWindow = true;
  };

  // Prepares an application folder (button faces, placeholder cover, a small genre file),
  // starts the fixture directory, and creates the main window as the program's start does.
  // One session per process.
  ProgramSession();
  explicit ProgramSession(const Options& options);
  // Closes the window if it is still there, as the Exit button would.
  ~ProgramSession();
  ProgramSession(const ProgramSession&) = delete;
  ProgramSession& operator=(const ProgramSession&) = delete;

  fixture::HttpFixture& directory() { return directory_; }
  // The application folder, ending in '/'.
  std::string folder() const { return folder_.path() + "/"; }
  std::string soundFile() const { return folder_.File("sound.raw"); }
  bool windowCreated() const { return created_; }

  // The track-info service and the cover host (on the directory's server) know the album of
  // "Cher - Believe" and its cover.
  void ServeFoundAlbum();

  HWND Control(int id) const;
  // The control's rectangle on the screen as {x, y, width, height}.
  RECT Placement(int id) const;
  bool Visible(int id) const;
  std::wstring Text(int id) const;
  int RowCount(int listId) const;
  std::wstring RowText(int listId, int row, int column) const;

  // A tap, then the loop runs until the screen settles.
  void Tap(int x, int y);
  void TapControl(int id);
  // A tap in the middle of a visible row of a list.
  void TapRow(int listId, int row);
  // Runs the loop until the status line satisfies `done`. False when `limit` passed first.
  bool WaitForStatus(const std::function<bool(const std::wstring&)>& done,
                     std::chrono::milliseconds limit = 10s);
  bool WaitForStatus(const std::wstring& text, std::chrono::milliseconds limit = 10s);
  // Runs the loop until no tune-in is under way. The worker shows its last status before it
  // ends, so a station tapped the moment "not playing" shows could still be refused as busy.
  bool WaitForTuneInEnd(std::chrono::milliseconds limit = 20s);
  // Runs the loop until the sound device has been given `length` of sound after the first sound
  // (in real time, as a device plays). False when `limit` passed first.
  bool RunUntilSoundFor(std::chrono::milliseconds length, std::chrono::milliseconds limit = 15s);
  // Every text the status line was given, in turn, since the session first tapped or waited.
  const std::vector<std::wstring>& statusHistory() const { return statusHistory_; }
  // The status texts seen so far, for failure messages.
  std::string StatusHistoryText() const;

  // Saves the screen as <build>/tests/e2e/screens/<width>x<height>/<name>.png.
  void Screenshot(const std::string& name) const;

 private:
  // From the first look on, every text the status line is given goes to statusHistory_.
  void WatchStatusLine();
  void RecordStatus(const std::wstring& status);

  fixture::TempDir folder_;
  fixture::HttpFixture directory_;
  bool created_ = false;
  std::vector<std::wstring> statusHistory_;
  HWND watchedStatusLine_ = nullptr;
};

// Rows of the small genre file and of its genre of tone stations: a steady tone, and a station
// that cannot be reached.
constexpr int toneGenreRow = 2;
constexpr int toneStationRow = 0;
constexpr int nowhereStationRow = 2;

// StationScreen with the station list laid out short, so the strip shows below it. A station
// that cannot be reached keeps the session away from sound. Call through ASSERT_NO_FATAL_FAILURE.
void OpenStripScreen(ProgramSession& session);
// The top of the now-playing strip.
int StripTop();

// Stations that end in a session are looked for again for two seconds instead of the program's
// five minutes, so that their end shows soon. Call after the main window is created (the
// program sets its own value then); the session's constructor does when it creates the window.
void ShortenReconnectTries();
// Writes `text` to `path`; throws when it cannot.
void WriteFile(const std::string& path, const std::string& text);
// Copies a file; throws when it cannot.
void CopyFile(const std::string& from, const std::string& to);

}  // namespace e2e
