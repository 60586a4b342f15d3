#include "playback/InitPlayback.h"

#include <string>

#include "audio/AudioLibrary.h"
#include "directory/WebClient.h"
#include "platform/Win32.h"
#include "playback/ApplicationFolder.h"
#include "playback/PlaybackState.h"
#include "shell/MainWindowState.h"
#include "shell/StatusLine.h"

namespace {

// A live stream that drops is looked for again this long before it ends with "not playing".
constexpr DWORD reconnectBudgetMs = 5 * 60 * 1000;

}  // namespace

bool OpenAudioDevice() {
  return BASS_Init(-1, 44100, 0, nullptr, nullptr) || BASS_ErrorGetCode() == BASS_ERROR_ALREADY;
}

void InitPlayback(HWND window) {
  PostMessageW(window, WM_CHECK_AUDIO_DEVICE, 0, 0);
  // A missing sound device must not take the genre file and the images with it.
  GetApplicationFolder(applicationFolder);
  wsprintfW(webClient.folder, L"%s", applicationFolder);
  // The panel starts with whatever cover the previous run left.
  coverImagePath.Set(std::wstring(applicationFolder) + L"folder.jpg");
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  BASS_SetConfig(BASS_CONFIG_NET_PLAYLIST, 1);
  BASS_SetConfig(BASS_CONFIG_NET_PREBUF, 0);
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT, reconnectBudgetMs);
}

void CheckAudioDevice(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  if (!OpenAudioDevice() && MessageBoxW(window, L"Can't initialize device", L"", MB_OK) == 0) {
    ShowStatus(L"Can't initialize device");
  }
}
