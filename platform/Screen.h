// The composed screen: one Cairo image the windows draw on, what shows it (an SDL window, or
// nothing for the headless screen), and the input that comes from it. Not for code outside
// platform/.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "platform/DisplayMetrics.h"
#include "platform/MessageQueue.h"

namespace winsys {

// Shows the composed screen somewhere.
class Presenter {
 public:
  virtual ~Presenter() = default;
  virtual void Present(cairo_surface_t* screen) = 0;
  virtual void Raise() = 0;
  // Text is asked for in `area` (screen pixels), or no longer: an input method and a phone
  // shell's on-screen keyboard come up, or go, with it.
  virtual void AskForText(bool asked, const RECT& area) = 0;
};

struct InputEvent {
  // Key: a key press, with the character it types when no text is asked for (a keyboard
  // without an input method). Text: one character an input method committed; taken only while
  // text is asked for.
  enum class Kind { Down, Move, Up, Wheel, Key, Text };
  Kind kind;
  POINT point{};  // screen pixels (not for keys)
  int wheelDelta = 0;
  UINT key = 0;           // a VK_ code, or 0 for a key that has none
  wchar_t character = 0;  // what the key or the input method types; 0 for none
};

// Settles the screen's size and density on first use: the headless choice when a test made
// one, otherwise the real display's (see SdlScreen.cpp). Any thread.
void EnsureDisplayChosen();
// Makes the screen headless with the given metrics, now and for the rest of the process.
void ChooseHeadlessScreen(const DisplayMetrics& metrics);
bool IsHeadless();

// The screen image, created at the display's size. Drawn on by the screen's thread only.
cairo_surface_t* ScreenSurface();
// A context drew on the screen: remember to show it, and show it now if the last showing is
// long enough ago for a slow sequence of drawings to be seen as it happens.
void ScreenDrawn();
// Shows what was drawn since the last time. Only acts on the screen's thread.
void PresentScreen();
// A top-level window of the calling thread is being shown: this thread becomes the screen's
// thread, and the real screen opens (named by the window's title) when it is not headless.
void ScreenWindowShown(const std::wstring& title);
// The queue of the screen's thread; null before any window was shown.
std::shared_ptr<ThreadQueue> ScreenThread();

// Brings the real screen's window forward (a second start of the program asks for it).
void RaiseScreen();

// A window asks for text in `area` (screen pixels), or no longer does. Screen's thread.
void AskForText(bool asked, const RECT& area);
// Whether text is asked for now. Any thread.
bool TextAsked();

// Queues input for the screen's thread. Any thread.
void PushInput(const InputEvent& event);
// On the screen's thread: turns the oldest queued input into messages for the window it
// reaches. False when there was none (or this is not the screen's thread).
bool TakeInput();
// On the screen's thread, while it waits for work of its own: drops the oldest queued input,
// with a beep for a press, a key or typed text, so that no command starts inside the waiting
// one and a person hears that the tap was not taken. False when there was none.
bool RefuseInput();

// Opens the real screen (SdlScreen.cpp) on the calling thread: its window with the program's
// icon, and its event wait installed on `queue`. Null when no video is available.
std::unique_ptr<Presenter> OpenSdlScreen(ThreadQueue& queue, const DisplayMetrics& metrics,
                                         const std::wstring& title);
// SDL's video is up, on the display the session gives (SdlScreen.cpp). False without one.
bool VideoReady();
// Shows a message box on the real display as a window of its own, drawn by the program (so it
// needs neither a window manager nor the X server's fonts), and returns the button pressed
// (IDOK, IDCANCEL, IDYES, IDNO); 0 when it cannot be shown (SdlMessageBox.cpp).
int ShowSdlMessageBox(const std::wstring& text, const std::wstring& caption, UINT type);
// The real display's metrics as the screen uses them (SdlScreen.cpp); {0,0,0} without video.
DisplayMetrics ProbeSdlDisplay();

}  // namespace winsys
