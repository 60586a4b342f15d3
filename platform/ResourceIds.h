// Ids of the executable's built-in resources (LoadStringW, LoadIconW).
#pragma once

#include "platform/Win32Types.h"

constexpr int IDI_APP_ICON = 102;
constexpr UINT IDS_APP_TITLE = 103;   // the program's name, also the main window's title
constexpr UINT IDS_CLASS_NAME = 104;  // the main window's class
