#include <strings.h>

#include <atomic>
#include <cstring>

#include "audio/AudioLibrary.h"
#include "platform/Win32.h"
#include "playback/BufferProgress.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerService.h"
#include "playback/StationHeaders.h"
#include "playback/TextFromBytes.h"
#include "playback/TrackTitle.h"
#include "playback/TuneIn.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/StatusLine.h"
#include "shell/TextBuffer.h"

namespace {

// The station's name (or address) from the response headers, whichever of the two comes later;
// without either (an HLS stream has no such headers), the name the list gave it.
void ShowStationName(DWORD stream) {
  const char* tags = StationHeaders(stream);
  HWND statusLine = GetDlgItem(mainWindow, ID_STATUS_LINE);
  ReportListedStationName(L"");
  if (tags == nullptr) {
    SetWindowTextW(statusLine, L"");
    return;
  }
  if (const char* name = LastHeaderValue(tags, {"icy-name:", "icy-url:"})) {
    SetTextFromBytes(statusLine, name, CP_ACP);
    return;
  }
  WCHAR listed[kMaxTextCharacters + 1] = L"";
  GetWindowTextW(GetDlgItem(mainWindow, ID_TITLE_LINE), listed, std::size(listed));
  SetWindowTextW(statusLine, listed);
  ReportListedStationName(listed);
}

void StartPlaying(DWORD stream) {
  KillTimer(mainWindow, bufferTimerId);
  ShowStationName(stream);
  UpdateTrackTitle();
  BASS_ChannelSetSync(stream, BASS_SYNC_META, 0, OnStreamMeta, nullptr);
  BASS_ChannelSetSync(stream, BASS_SYNC_OGG_CHANGE, 0, OnStreamMeta, nullptr);
  BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, OnStreamEnd, nullptr);
  BASS_ChannelSetSync(stream, BASS_SYNC_STALL, 0, OnStreamStall, nullptr);
  if (!BASS_ChannelPlay(stream, FALSE)) {
    // The sound device went away while the stream buffered: say so rather than stay silent.
    BASS_StreamFree(stream);
    ShowStatus(L"not playing");
    return;
  }
  ReportPlaying(true);
}

// The stream whose silence the status line explains; 0 = none.
std::atomic<DWORD> reconnectingStream{0};

}  // namespace

void CALLBACK OnStreamStall(DWORD, DWORD stream, DWORD data, void*) {
  if (data == 0) {
    // A stall while the connection is there is a slow network, as before: nothing to say.
    if (BASS_StreamGetFilePosition(stream, BASS_FILEPOS_CONNECTED) == 0) {
      reconnectingStream.store(stream);
      ShowStatus(L"reconnecting...");
    }
    return;
  }
  DWORD silent = stream;
  if (reconnectingStream.compare_exchange_strong(silent, 0)) {
    ShowStationName(stream);
    ShowTitleAgain();
  }
}

void OnBufferTimer() {
  const DWORD stream = currentStream.load();
  const auto progress = BufferProgress(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER),
                                       BASS_StreamGetFilePosition(stream, BASS_FILEPOS_END));
  if (!progress) {
    // The stream has gone away: nothing is left to watch.
    KillTimer(mainWindow, bufferTimerId);
    ShowStatus(L"not playing");
    return;
  }
  if (*progress <= playbackThreshold &&
      BASS_StreamGetFilePosition(stream, BASS_FILEPOS_CONNECTED) != 0) {
    WCHAR text[kMaxTextCharacters + 1];
    wsprintfW(text, L"buffering... %d%%", *progress);
    ShowStatus(text);
    return;
  }
  // Full enough, or the connection has closed: play what has been buffered.
  StartPlaying(stream);
}
