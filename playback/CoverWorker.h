// The album-art lookup: finds the cover of the track now playing (FetchCover), fetches it into
// folder.jpg and shows it, or the placeholder noAlbum.jpg.
#pragma once

#include <atomic>

#include "platform/Win32Types.h"

// 1 when the last lookup found no cover, 0 when it fetched one; 0 before the first lookup.
extern std::atomic<BYTE> noCover;

// Thread procedure; the argument is the main window. Started only through StartWorker on
// coverThread, which it clears as its last step. Reports "nice one" or "buuuu" on the status
// line, points coverImagePath at the cover to draw and redraws what the screen shows of it.
DWORD WINAPI CoverWorker(LPVOID window);
