// Start-up and the main window: the entry point, the window class and the window procedure.
#pragma once

#include "platform/Win32.h"

// The program: creates the main window, checks the audio library's version and runs the message
// loop until the window is gone. Returns the process's exit code (0 in every case).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine,
                   int showCommand);

// Creates and shows the full-screen main window. Returns FALSE when another instance runs (it is
// brought to the foreground instead) or when the window cannot be made.
BOOL CreateMainWindow(HINSTANCE instance, int showCommand);

// Registers the main window's class under `className`; the class atom, or 0 on failure.
ATOM RegisterMainClass(HINSTANCE instance, LPCWSTR className);

// The main window's procedure: hands each message to the handler that owns it.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_CREATE: audio, the application folder, the seven child controls and the search line.
void CreateControls(HWND window);
