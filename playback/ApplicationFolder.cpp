#include "playback/ApplicationFolder.h"

#include "platform/Win32.h"
#include "playback/MainWindowState.h"

void FolderOfPath(const WCHAR* path, int length, WCHAR* folder) {
  int end = 0;  // characters kept
  for (int i = length - 1; i >= 0 && path[i] != L'\0'; --i) {
    if (path[i] == L'/') {
      end = i + 1;
      break;
    }
  }
  for (int i = 0; i < end; ++i) {
    folder[i] = path[i];
  }
  folder[end] = L'\0';
}

BOOL GetApplicationFolder(WCHAR* folder) {
  WCHAR path[260] = {};
  const DWORD length = GetModuleFileNameW(appInstance, path, 260);
  // A path cut to the buffer is still terminated within it.
  FolderOfPath(path, length < 260 ? static_cast<int>(length) : 259, folder);
  return TRUE;
}
