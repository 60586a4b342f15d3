// Reading the program's report-style list views: which row is chosen and what a row says.
#pragma once

#include <string>

#include "platform/Win32Types.h"

// The first selected row of the list, or row 0 when none is selected.
int ChosenRow(HWND list);

// The text of a row's column, cut to kMaxTextCharacters (shell/TextBuffer.h); empty when the
// list has no such row.
std::wstring RowText(HWND list, int row, int column);
