#include "shell/MainWindowState.h"

#include "shell/ControlIds.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
WCHAR applicationFolder[260] = {};
std::atomic<int> screenState{GenreScreen};
