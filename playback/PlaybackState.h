// The now-playing state shared by the window's thread, the workers and the audio engine's
// callbacks. Handles and busy marks are atomics; texts are whole snapshots.
#pragma once

#include <atomic>

#include "platform/Win32Types.h"
#include "playback/SharedText.h"

// The stream that plays or is being buffered; 0 = none. Written only by TuneInWorker.
extern std::atomic<DWORD> currentStream;
// The tune-in playlist address of the chosen station; written before TuneInWorker starts.
extern SharedText stationUrl;
// Nonzero while a TuneInWorker runs (see StartWorker).
extern std::atomic<HANDLE> tuneInThread;
// Full path of the cover image that the now-playing panel draws.
extern SharedText coverImagePath;
// True while coverImagePath holds a cover found for the title on air: set by the album-art
// worker when it found one, cleared by a new title and by the choice of a station.
extern std::atomic<bool> coverOnAir;
// The chosen station's logo file, kept or not yet; empty for a station without a uuid. Written
// on the window thread when a station is chosen.
extern SharedText stationLogoPath;
// Artist and title of the track now playing (artistText, titleText), one snapshot; they keep
// their values until a new title comes.
extern SharedTrack nowPlaying;
// Nonzero while an album-art worker runs (see StartWorker).
extern std::atomic<HANDLE> coverThread;
