// Showing 8-bit text from outside (response headers, stream metadata, comments) in a control.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Win32Types.h"
#include "shell/TextBuffer.h"

// Length of the longest start of `text` of at most `maxBytes` bytes that does not end inside a
// UTF-8 sequence (text that is not UTF-8 is cut at `maxBytes`, give or take three bytes).
std::size_t CutLength(std::string_view text, std::size_t maxBytes);

// NUL-terminated `text` converted from `codePage` (CP_ACP or CP_UTF8), cut to kMaxTextCharacters
// bytes: one byte never gives more than one UTF-16 unit, so the result always fits.
std::wstring WideFromBytes(const char* text, UINT codePage);

// Sets `window`'s text from NUL-terminated 8-bit `text` in `codePage`, cut like WideFromBytes.
// Any thread: the platform carries the change to the window's thread.
void SetTextFromBytes(HWND window, const char* text, UINT codePage);
