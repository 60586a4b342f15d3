// The screen the program runs on: its size in pixels and its density. The screen code sets it
// (from the real display, or from a test choosing a headless screen); GetSystemMetrics and
// GetDeviceCaps report it. Safe to read and set from any thread.
#pragma once

struct DisplayMetrics {
  int width;
  int height;
  int dpi;
};

// A 480 x 640 pocket screen at 192 pixels per inch until SetCurrentDisplay is called.
DisplayMetrics CurrentDisplay();

// Replaces the screen's metrics. A field that is not positive leaves that value unchanged.
void SetCurrentDisplay(const DisplayMetrics& metrics);
