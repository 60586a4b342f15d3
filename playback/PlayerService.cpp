#include "playback/PlayerService.h"

#include <strings.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "audio/AudioLibrary.h"
#include "platform/MediaPlayerBus.h"
#include "platform/Mutex.h"
#include "platform/ResourceIds.h"
#include "platform/SystemBus.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"
#include "playback/ImageOnAir.h"
#include "playback/PlaybackState.h"
#include "playback/StationHeaders.h"
#include "playback/TextFromBytes.h"
#include "playback/TuneIn.h"
#include "playback/WorkerStart.h"
#include "shell/MainWindowState.h"

namespace {

std::atomic<bool> streamPlaying{false};

Mutex coverLock;
std::string coverCopy GUARDED_BY(coverLock);  // the file offered as the cover now; empty: none

Mutex listedNameLock;
std::string listedName GUARDED_BY(listedNameLock);  // see ReportListedStationName

// The station's name as its stream's response headers give it, else as its list row gave it.
std::string StationName(DWORD stream) {
  const char* name = LastHeaderValue(StationHeaders(stream), {"icy-name:"});
  if (name != nullptr) {
    return WideToUtf8(WideFromBytes(name + std::strspn(name, " "), CP_ACP));
  }
  MutexLock hold(listedNameLock);
  return listedName;
}

// A name no earlier cover had, in this run or another.
std::string NewCoverName() {
  static std::atomic<long long> sequence{std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::system_clock::now().time_since_epoch())
                                             .count()};
  return "cover-" + std::to_string(sequence++) + ".jpg";
}

void RemoveCoverCopy() REQUIRES(coverLock) {
  std::error_code error;
  if (!coverCopy.empty()) {
    std::filesystem::remove(coverCopy, error);
  }
  coverCopy.clear();
}

}  // namespace

void StartPlayerService(HWND window) {
  WCHAR name[100];
  LoadStringW(appInstance, IDS_APP_TITLE, name, 100);
  mpris::Start(WideToUtf8(name), window, WM_PLAYER_REQUEST);
}

void StopPlayerService() {
  mpris::Stop();
  MutexLock hold(coverLock);
  RemoveCoverCopy();
}

void ReportListedStationName(const WCHAR* name) {
  std::string text = WideToUtf8(name);
  // The list keeps the blank before a cut-off hyphen; a player control has no use for it.
  text.erase(text.find_last_not_of(' ') + 1);
  MutexLock hold(listedNameLock);
  listedName = std::move(text);
}

void ReportNowPlaying() {
  mpris::NowPlaying now;
  now.playing = streamPlaying.load();
  const TrackTexts track = nowPlaying.Get();
  now.title = WideToUtf8(track.titleText);
  now.artist = WideToUtf8(track.artistText);
  now.album = StationName(currentStream.load());
  const ImageOnAir image = CurrentImageOnAir();
  if (image.isStationLogo) {
    now.artUrl = "file://" + WideToUtf8(image.path);
  } else {
    MutexLock hold(coverLock);
    now.artUrl = coverCopy.empty() ? "" : "file://" + coverCopy;
  }
  mpris::Publish(now);
}

void ReportPlaying(bool playing) {
  streamPlaying.store(playing);
  // The device must not sleep under a playing stream; it may once nothing plays.
  systembus::HoldSleepLock(playing);
  ReportNowPlaying();
}

void ReportCover() {
  {
    MutexLock hold(coverLock);
    RemoveCoverCopy();
    const std::string copy = WideToUtf8(applicationFolder) + NewCoverName();
    std::error_code error;
    if (std::filesystem::copy_file(WideToUtf8(coverImagePath.Get()), copy, error)) {
      coverCopy = copy;
    }
  }
  ReportNowPlaying();
}

void OnPlayerRequest(HWND window, WPARAM request) {
  const bool playing = streamPlaying.load();
  switch (static_cast<mpris::Request>(request)) {
    case mpris::Request::Raise:
      SetForegroundWindow(window);
      break;
    case mpris::Request::Quit:
      SendMessageW(window, WM_CLOSE, 0, 0);
      break;
    case mpris::Request::PlayPause:
      if (playing) {
        StartWorker(tuneInThread, StopWorker, nullptr);
        break;
      }
      [[fallthrough]];
    case mpris::Request::Play:
      if (!playing && !stationUrl.Get().empty()) {
        StartTuneIn();
      }
      break;
    case mpris::Request::Pause:
    case mpris::Request::Stop:
      StartWorker(tuneInThread, StopWorker, nullptr);
      break;
  }
}
