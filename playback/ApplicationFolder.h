// The application folder, where every data file lives: beside the executable in a build tree,
// in the user's data folder for an installed copy.
#pragma once

#include "platform/Win32Types.h"

// Cuts `path` (at most `length` characters, NUL-terminated within 260) after its last '/', the
// separator of this platform, searching backwards from index length - 1 and stopping early at a
// NUL. The result in `folder` (260 characters) is that prefix, or empty when there is no
// separator.
void FolderOfPath(const WCHAR* path, int length, WCHAR* folder);

// Fills `folder` (at least 260 characters) with the application folder, ending in '/', and
// returns TRUE. The folder of the executable of appInstance when it holds the genre file and can
// be written; otherwise tunedeck/ in the user's data folder, created and given a copy of each
// shipped data file it lacks (from the executable's folder, or from ../share/tunedeck/ beside
// it); the executable's folder again when the user's data folder cannot be had.
BOOL GetApplicationFolder(WCHAR* folder);
