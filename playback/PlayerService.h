// What the program tells the session it plays (the media-player service of the platform), and
// what the session's player controls ask of it.
#pragma once

#include "platform/Win32.h"

// Posted to the main window by the service; wParam is an mpris::Request.
constexpr UINT WM_PLAYER_REQUEST = WM_APP + 1;

// Starts the service as "tunedeck", with requests for `window`. Without a session bus the
// program runs as before. Window's thread.
void StartPlayerService(HWND window);
// Ends it, with the cover copy it last offered. At exit, on the window's thread.
void StopPlayerService();

// A stream started or stopped playing; tells the session, and holds off the system's sleep while
// it plays. Any thread.
void ReportPlaying(bool playing);
// The station's name as its list row gave it, for a stream whose headers name no station (an
// HLS stream); empty for any other. Window's thread, before the stream's first report.
void ReportListedStationName(const WCHAR* name);
// Tells the session the current title and station, and its art: the cover, or the station's
// logo while no cover is known for the title on air (CurrentImageOnAir). Any thread.
void ReportNowPlaying();
// The cover at coverImagePath is new: it is offered under a new file name, so that the
// session's cache notices, and told. Any thread, one at a time (the album-art worker).
void ReportCover();

// The main window's WM_PLAYER_REQUEST handler (window's thread): Raise brings the window
// forward, Quit closes it, Play tunes in to the last station again, Pause and Stop free the
// stream ("not playing"), PlayPause does the one that fits.
void OnPlayerRequest(HWND window, WPARAM request);
