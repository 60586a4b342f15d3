// The application folder: the folder of the running executable, where every data file lives.
#pragma once

#include "platform/Win32Types.h"

// Cuts `path` (at most `length` characters, NUL-terminated within 260) after its last '/', the
// separator of this platform, searching backwards from index length - 1 and stopping early at a
// NUL. The result in `folder` (260 characters) is that prefix, or empty when there is no
// separator.
void FolderOfPath(const WCHAR* path, int length, WCHAR* folder);

// Fills `folder` (at least 260 characters) with the folder of the executable of appInstance,
// ending in '/'. Returns TRUE.
BOOL GetApplicationFolder(WCHAR* folder);
