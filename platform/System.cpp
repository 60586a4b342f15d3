// System calls: metrics, the module and its built-in resources, message boxes and beeps.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/DisplayMetrics.h"
#include "platform/ResourceIds.h"
#include "platform/Screen.h"
#include "platform/SystemRecords.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"

struct Module {};
struct Icon {
  int id;
};

namespace {

Module thisModule;
Icon applicationIcon{IDI_APP_ICON};

}  // namespace

// The executable's built-in string table: the window's title and its class, the program's name.
LPCWSTR winsys::BuiltInString(UINT id) {
  switch (id) {
    case IDS_APP_TITLE:
    case IDS_CLASS_NAME:
      return L"tunedeck";
    default:
      return nullptr;
  }
}

namespace {

std::wstring ExecutablePath() {
  std::wstring path = winsys::ModulePathOverride();
  if (!path.empty()) {
    return path;
  }
  char buffer[4096];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
    return L"";
  }
  return Utf8ToWide(std::string_view(buffer, static_cast<std::size_t>(length)));
}

}  // namespace

int GetSystemMetrics(int index) {
  winsys::EnsureDisplayChosen();
  const DisplayMetrics display = CurrentDisplay();
  switch (index) {
    case SM_CXSCREEN:
      return display.width;
    case SM_CYSCREEN:
      return display.height;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      // 13 pixels at 96 pixels per inch, scaled with the screen's density.
      return (13 * display.dpi + 48) / 96;
    default:
      return 0;
  }
}

DWORD GetModuleFileNameW(HMODULE, LPWSTR buffer, DWORD size) {
  if (buffer == nullptr || size == 0) {
    return 0;
  }
  const std::wstring path = ExecutablePath();
  const std::size_t count = std::min<std::size_t>(path.size(), size - 1);
  std::copy_n(path.begin(), count, buffer);
  buffer[count] = L'\0';
  return static_cast<DWORD>(count);
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
  return moduleName == nullptr ? &thisModule : nullptr;
}

int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int size) {
  LPCWSTR text = winsys::BuiltInString(id);
  if (text == nullptr || buffer == nullptr || size <= 0) {
    return 0;
  }
  const std::wstring_view view(text);
  const std::size_t count = std::min<std::size_t>(view.size(), static_cast<std::size_t>(size) - 1);
  std::copy_n(view.begin(), count, buffer);
  buffer[count] = L'\0';
  return static_cast<int>(count);
}

HICON LoadIconW(HINSTANCE, LPCWSTR name) {
  const auto id = reinterpret_cast<std::uintptr_t>(name);
  return id == static_cast<std::uintptr_t>(applicationIcon.id) ? &applicationIcon : nullptr;
}

DWORD GetTickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  const winsys::MessageBoxRecord record{owner, text != nullptr ? text : L"",
                                        caption != nullptr ? caption : L"", type};
  const int answer = winsys::RecordMessageBox(record);
  if (winsys::IsHeadless()) {
    return answer;
  }
  // 0 when the display could not show it, as the caller may need to say it another way.
  return winsys::ShowSdlMessageBox(record.text, record.caption, type);
}

BOOL MessageBeep(UINT) {
  winsys::RecordBeep();
  return TRUE;
}
