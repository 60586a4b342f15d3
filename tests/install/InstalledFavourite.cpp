// The installed program on the headless screen, as a test interface: copied into an installed
// bin/ beside the real executable, it starts as the program starts and adds one station to
// the favourites as the add button would.
// Usage: installed_favourite ID NAME. Prints the application folder; exit code 0 when the genre
// list was filled from it and the favourite was written.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/MainWindow.h"
#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/Utf8.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    return 2;
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  headless::UseHeadlessScreen(240, 320, 96);
  headless::SetInstanceChannel("tunedeck-install-" + std::to_string(getpid()));
  if (!CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOW)) {
    return 1;
  }
  headless::RunUntilIdle();
  std::printf("%s\n", WideToUtf8(applicationFolder).c_str());
  HWND stations = GetDlgItem(mainWindow, ID_STATION_LIST);
  const std::wstring id = Utf8ToWide(argv[1]);
  const std::wstring name = Utf8ToWide(argv[2]);
  LVITEMW row = {};
  row.mask = LVIF_TEXT;
  row.pszText = const_cast<LPWSTR>(name.c_str());
  SendMessageW(stations, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
  row.iSubItem = 1;
  row.pszText = const_cast<LPWSTR>(id.c_str());
  SendMessageW(stations, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&row));
  const bool genres =
      SendMessageW(GetDlgItem(mainWindow, ID_GENRE_LIST), LVM_GETITEMCOUNT, 0, 0) > 0;
  const bool added = AddFavourite(webClient, mainWindow, ID_STATION_LIST);
  // Closed as the program closes, so its threads (the player service's among them) end.
  DestroyWindow(mainWindow);
  headless::RunUntilIdle();
  return genres && added ? 0 : 1;
}
