// The shell and COM start-up calls. The screen is already the program's alone (full screen or
// a window of the pocket screen's size), so they have nothing to change.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/Utf8.h"
#include "platform/Win32.h"

namespace {

thread_local int comStarts = 0;

}  // namespace

BOOL SHInitExtraControls() {
  return TRUE;
}

BOOL SHFullScreen(HWND hwnd, DWORD) {
  return IsWindow(hwnd);
}

HRESULT SHHandleWMSettingChange(HWND, WPARAM, LPARAM, SHACTIVATEINFO*) {
  return S_OK;
}

BOOL SHGetSpecialFolderPathW(HWND, LPWSTR path, int csidl, BOOL create) {
  if (path == nullptr || csidl != CSIDL_APPDATA) {
    return FALSE;
  }
  std::string folder;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (dataHome != nullptr && dataHome[0] == '/') {
    folder = dataHome;
  } else if (home != nullptr && home[0] == '/') {
    folder = std::string(home) + "/.local/share";
  } else {
    return FALSE;
  }
  const std::wstring wide = Utf8ToWide(folder);
  if (wide.size() > 259) {
    return FALSE;
  }
  std::error_code error;
  if (create && !std::filesystem::create_directories(folder, error) && error) {
    return FALSE;
  }
  wide.copy(path, wide.size());
  path[wide.size()] = L'\0';
  return TRUE;
}

HRESULT CoInitializeEx(LPVOID, DWORD) {
  return comStarts++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (comStarts > 0) {
    --comStarts;
  }
}
