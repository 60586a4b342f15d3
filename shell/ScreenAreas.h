// The main window's areas below the title line and above the status line, for the screen size
// of the moment. Any thread.
#pragma once

#include "platform/Win32Types.h"

// Space between a now-playing panel and the status line below it.
constexpr int panelGap = 4;

// Between the title line and the status line: the full-height lists and the now-playing view.
RECT ContentArea();

// The now-playing strip's band in StationScreen: three line heights above the status line, with
// the shortened station list ending where it begins.
RECT StripBand();

// The strip's rounded panel inside StripBand, which holds the cover thumbnail and the track.
RECT StripPanel();

// The rounded panel of the now-playing view (PlayerScreen), three line heights tall.
RECT ViewPanel();
