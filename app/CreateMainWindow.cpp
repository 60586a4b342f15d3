#include <cstdint>

#include "app/MainWindow.h"
#include "platform/ResourceIds.h"
#include "playback/PlayerService.h"
#include "playback/SystemLink.h"
#include "shell/MainWindowState.h"

ATOM RegisterMainClass(HINSTANCE instance, LPCWSTR className) {
  WNDCLASSW windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
  windowClass.hbrBackground = CreateSolidBrush(RGB(0, 0, 0));
  windowClass.lpszClassName = className;
  return RegisterClassW(&windowClass);
}

BOOL CreateMainWindow(HINSTANCE instance, int showCommand) {
  appInstance = instance;
  SHInitExtraControls();

  WCHAR title[100];
  WCHAR className[100];
  LoadStringW(instance, IDS_APP_TITLE, title, 100);
  LoadStringW(instance, IDS_CLASS_NAME, className, 100);

  // One instance only: the running one comes forward, with its owned windows (the low bit).
  if (HWND running = FindWindowW(className, title)) {
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(running) | 1));
    return FALSE;
  }
  if (!RegisterMainClass(instance, className)) {
    return FALSE;
  }
  HWND window =
      CreateWindowExW(0, className, title, WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                      GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    return FALSE;
  }
  SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  // The session's player controls learn what plays, where there is a session bus.
  StartPlayerService(window);
  // No sleep while a stream plays, and the network's ups and downs for the reconnect.
  StartSystemLink();
  return TRUE;
}
