// Rows of the program's two report-style list views, through the list view's messages.
#pragma once

#include <string>
#include <string_view>

#include "platform/Win32.h"

// Inserts row `index`: column 0 the text shown, column 1 the value acted on (text only).
void InsertRow(HWND list, int index, const std::wstring& shown, const std::wstring& value);

void DeleteAllRows(HWND list);

// Inserts rows 0, 1, ... from the lines of the folder's file of two-field lines (column 0 the
// second field, column 1 the first). A file that cannot be read adds none.
void InsertFileRows(HWND list, std::wstring_view folder, std::wstring_view fileName);

// Row 0 selected (and only selected, under the mask focused | selected | cut | drop-highlighted)
// and the background black.
void SelectFirstRowOnBlack(HWND list);

// Gives the station list the focus and shows it in place of the genre list.
void ShowStationList(HWND window, HWND stationList);
