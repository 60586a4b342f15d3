// The status line: the one place where the program tells its user what happens.
#pragma once

#include "platform/Win32Types.h"

// Sets the status line's text. Any thread: the platform carries the change to the window's
// thread, and the caller waits for it.
void ShowStatus(LPCWSTR text);
