// The search line of the genre screen: a tap on the title line, or a key typed on the genre
// list, opens it in the title line's place; Return asks the open directory for the typed text
// off the window thread, and the rows fill the station list as a genre's do. Window's thread.
#pragma once

#include "platform/Win32.h"

// Opens the search line holding `typed` (may be empty), with the caret and the keyboard's text.
void OpenSearchLine(HWND window, LPCWSTR typed);

// Closes the search line and gives the genre screen back as it was.
void CloseSearchLine(HWND window);

// Return in the search line: the trimmed text is searched for, with "searching..." on the status
// line and the query on the title line; an empty text only closes the line.
void RunSearch(HWND window);

// WM_CHAR that a list handed on: a printable character typed on the genre screen opens the
// search line with it.
void OnTypedCharacter(HWND window, WCHAR character);

// WM_SEARCH_DONE: the search's rows, and "Ready", or "no stations" when there are none. A
// superseded search's late answer changes nothing.
void OnSearchDone(HWND window, WPARAM search);

// A search still under way no longer counts: something else takes the station list. Says
// "Ready" in place of "searching..." when one was under way.
void DropSearch();

// After a genre's or the favourites' stations were loaded: "no stations" for an empty list, and
// "Ready" again where "no stations" stood before.
void ReportStationCount(HWND window);
