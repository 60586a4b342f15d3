#include "platform/Win32.h"
#include "playback/PlayerService.h"
#include "playback/TextFromBytes.h"
#include "playback/TrackTitle.h"
#include "playback/TuneIn.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/StatusLine.h"

void CALLBACK OnStreamStatus(const void* buffer, DWORD length, void*) {
  // Response headers come with length 0; only the first line, the server's status, is shown.
  if (buffer != nullptr && length == 0) {
    SetTextFromBytes(GetDlgItem(mainWindow, ID_STATUS_LINE), static_cast<const char*>(buffer),
                     CP_ACP);
  }
}

void CALLBACK OnStreamMeta(DWORD, DWORD, DWORD, void*) {
  UpdateTrackTitle();
}

void CALLBACK OnStreamEnd(DWORD, DWORD, DWORD, void*) {
  ReportPlaying(false);
  ShowStatus(L"not playing");
}
