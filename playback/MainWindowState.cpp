#include "playback/MainWindowState.h"

#include "directory/ControlIds.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
WCHAR applicationFolder[260] = {};
std::atomic<int> screenState{GenreScreen};
