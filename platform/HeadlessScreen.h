// The test interface of the screen: run the window system with no display and drive it as a
// person would. Used by tests and the demo only, never by the program itself.
//
// Call UseHeadlessScreen before the windows under test are shown. The functions that run the
// loop, tap, press keys and read the screen are meant for the thread that owns the windows (the
// screen's thread); from another thread they wait for that thread's loop instead.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SystemRecords.h"
#include "platform/Win32.h"

namespace headless {

// From now on `observer` is told of every DefWindowProcW call before it does its work (null:
// nobody is). It exists so that a test can see which messages window procedures hand on.
void ObserveDefWindowProc(void (*observer)(HWND window, UINT message));

// Makes the screen headless, with this size and density, for the rest of the process (calling
// it again changes the size; shown windows are repainted).
void UseHeadlessScreen(int width = 480, int height = 640, int dpi = 192);

// Input at screen pixels. Queued: it reaches the windows when the loop runs.
void Press(int x, int y);
void MoveTo(int x, int y);
void Release(int x, int y);
void Tap(int x, int y);
// Press at `from`, `steps` moves, release at `to`, running the loop with `pauseMs` between moves
// (on the screen's thread). A slow drag scrolls exactly; a fast one flings.
void Drag(POINT from, POINT to, int steps = 8, int pauseMs = 20);
// Wheel notches at a point: positive turns away from the user (content moves down).
void Wheel(int x, int y, int notches);
// A key press (WM_KEYDOWN then WM_KEYUP) for the focused window; Backspace, Tab, Return and
// Escape also type their control character (WM_CHAR) between the two.
void PressKey(UINT virtualKey);
// Keys typed on a keyboard, one press per character: each reaches the focused window as
// WM_CHAR (with WM_KEYDOWN and WM_KEYUP for letters and digits), whether text is asked for or
// not, as a keyboard types into a line and into a list alike.
void TypeKeys(std::wstring_view text);
// Text an input method commits (UTF-8): one WM_CHAR per character for the focused window, taken
// only while a window asks for text, as a real input method can only type then.
void TypeText(std::string_view utf8);
// Whether a window asks for text now (an edit line with the focus).
bool TextAsked();

// Runs the screen's loop until nothing is left to do now (timers not yet due may fire later).
// False when `limit` passed first.
bool RunUntilIdle(std::chrono::milliseconds limit = std::chrono::seconds(5));
// Runs the loop until `condition` holds (checked on the screen's thread between messages).
// False when `limit` passed first.
bool RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
// Runs the loop for a while, whatever happens (to let timers fire).
void RunFor(std::chrono::milliseconds duration);
// True once the loop took WM_QUIT while run by these functions; its code in `exitCode`.
bool QuitReceived(int* exitCode = nullptr);

// The composed screen's colour at a pixel, as RGB(r, g, b).
COLORREF Pixel(int x, int y);
// Writes the screen as a PNG file. False when it cannot be written.
bool SaveScreen(const std::string& path);

// A message box as MessageBoxW was called: owner, text, caption and type.
using MessageBoxRecord = winsys::MessageBoxRecord;
// Every MessageBoxW so far, oldest first; each returned `answer` (IDOK unless set).
std::vector<MessageBoxRecord> MessageBoxes();
void AnswerMessageBoxes(int answer);
void ClearMessageBoxes();
// How many MessageBeep calls there were.
int BeepCount();

// Calls `changed` with each new text of `window`, on the window's thread, as it is set (a test
// sees every text, however quickly the next one follows). Replaces an earlier watcher.
void WatchText(HWND window, std::function<void(const std::wstring&)> changed);

// What GetModuleFileNameW reports from now on (the application folder follows from it).
void SetModulePath(const std::wstring& path);
// The name of the channel that finds another running instance (per user by default); tests
// give each run a channel of its own.
void SetInstanceChannel(const std::string& name);

}  // namespace headless
