#include "audio/AudioLibrary.h"
#include "platform/Win32.h"
#include "playback/InitPlayback.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerService.h"
#include "playback/TuneIn.h"
#include "playback/WorkerStart.h"
#include "shell/MainWindowState.h"
#include "shell/StatusLine.h"

namespace {

constexpr DWORD streamFlags =
    BASS_UNICODE | BASS_STREAM_STATUS | BASS_STREAM_BLOCK | BASS_STREAM_AUTOFREE;  // 0x80940000

// A stream that may still be buffering is no longer watched; one that plays stops.
void StopCurrentStream() {
  KillTimer(mainWindow, bufferTimerId);
  BASS_StreamFree(currentStream.load());
  ReportPlaying(false);
}

}  // namespace

DWORD WINAPI TuneInWorker(LPVOID) {
  StopCurrentStream();
  ShowStatus(L"connecting...");
  const std::wstring url = stationUrl.Get();
  const DWORD stream = BASS_StreamCreateURL(url.c_str(), 0, streamFlags, OnStreamStatus, nullptr);
  currentStream.store(stream);
  if (stream == 0) {
    ShowStatus(L"not playing");
  } else {
    SetTimer(mainWindow, bufferTimerId, bufferTimerPeriodMs, nullptr);
    // Looked at once as well: the server's burst may have filled the buffer already, and the
    // timer's first tick would only add its period to the wait for sound.
    PostMessageW(mainWindow, WM_TIMER, bufferTimerId, 0);
  }
  tuneInThread.store(nullptr);
  return 0;
}

bool StartTuneIn() {
  // A sound device missing so far may have appeared; without one the stream cannot be made.
  OpenAudioDevice();
  return StartWorker(tuneInThread, TuneInWorker, nullptr);
}

DWORD WINAPI StopWorker(LPVOID) {
  StopCurrentStream();
  ShowStatus(L"not playing");
  tuneInThread.store(nullptr);
  return 0;
}
