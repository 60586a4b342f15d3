#include "playback/MainWindowState.h"

#include "playback/ControlIds.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
WCHAR applicationFolder[260] = {};
std::atomic<int> screenState{GenreScreen};
