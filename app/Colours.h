// The program's colours.
#pragma once

#include "platform/Win32Types.h"

constexpr COLORREF backgroundColour = RGB(0, 0, 0);
constexpr COLORREF panelColour = RGB(38, 38, 40);        // panels and the selected row
constexpr COLORREF panelTextColour = RGB(116, 140, 38);  // text on panels and the selected row
constexpr COLORREF rowTextColour = RGB(128, 128, 128);   // text of the other rows
