#include "audio/AudioLibrary.h"
#include "platform/Win32.h"
#include "playback/MainWindowState.h"
#include "playback/PlaybackState.h"
#include "playback/StatusLine.h"
#include "playback/TuneIn.h"

namespace {

constexpr DWORD streamFlags =
    BASS_UNICODE | BASS_STREAM_STATUS | BASS_STREAM_BLOCK | BASS_STREAM_AUTOFREE;  // 0x80940000

}  // namespace

DWORD WINAPI TuneInWorker(LPVOID) {
  // A stream that may still be buffering is no longer watched.
  KillTimer(mainWindow, bufferTimerId);
  BASS_StreamFree(currentStream.load());
  ShowStatus(L"connecting...");
  const std::wstring url = stationUrl.Get();
  const DWORD stream = BASS_StreamCreateURL(url.c_str(), 0, streamFlags, OnStreamStatus, nullptr);
  currentStream.store(stream);
  if (stream == 0) {
    ShowStatus(L"not playing");
  } else {
    SetTimer(mainWindow, bufferTimerId, bufferTimerPeriodMs, nullptr);
  }
  tuneInThread.store(nullptr);
  return 0;
}
