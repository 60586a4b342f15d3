// Text conversion and formatting with the window system's meaning. Wide text is wchar_t, one
// Unicode code point per character. Implementation: platform/TextConversion.cpp,
// platform/WideFormat.cpp, platform/CharLower.cpp.
#pragma once

#include <cstdarg>

#include "platform/Win32Types.h"

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr UINT CP_WINDOWS_1252 = 1252;

constexpr DWORD MB_PRECOMPOSED = 0x00000001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;

// Converts 8-bit text to wide text. `byteCount` -1 converts up to and including the terminator.
// Code pages: CP_UTF8; 1252; CP_ACP, which decodes the input as UTF-8 when it is valid UTF-8 and
// as Windows-1252 otherwise (stations send both). Ill-formed UTF-8 becomes U+FFFD, or fails the
// call with MB_ERR_INVALID_CHARS. With `wideCount` 0 nothing is written and the number of wide
// characters needed is returned. Returns the number written, or 0 on failure (an unknown code
// page, bad arguments, or a buffer too small, in which case at most `wideCount` characters were
// written and the text is not terminated).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR bytes, int byteCount, LPWSTR wide,
                        int wideCount);

// Converts wide text to UTF-8 (CP_UTF8, and CP_ACP, which is UTF-8 on this system). Same counting
// rules as MultiByteToWideChar; characters that are not Unicode scalar values become U+FFFD.
// `defaultChar` and `usedDefaultChar` must be null, as they must for UTF-8 on the original.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR bytes,
                        int byteCount, LPCSTR defaultChar, BOOL* usedDefaultChar);

// Turns the first `length` characters of `text` into lower case in place, by Unicode's rules for
// each character (not only ASCII's). Returns `length`. Implementation: platform/CharLower.cpp.
DWORD CharLowerBuffW(LPWSTR text, DWORD length);

// Formats into `buffer` as the window system does: %s and %c take wide text (%S, %hs, %hc 8-bit
// text, read as CP_ACP), %d %i %u %x %X integers (int-sized; %hd short), %% a percent sign;
// flags '-' '0' '#', a width and a precision. No floating point. A null string prints "(null)".
// Returns the number of characters written, without the terminator. Like the original, the
// output stops at 1024 characters, terminator included; a smaller buffer is the caller's to
// size, so prefer wnsprintfW where the buffer is smaller than that.
int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);

// wsprintfW bounded by the buffer: at most `bufferCount` characters with the terminator. A text
// that does not fit is cut and terminated. Returns the number written, without the terminator;
// -1 when `bufferCount` is not positive.
int wnsprintfW(LPWSTR buffer, int bufferCount, LPCWSTR format, ...);
int wvnsprintfW(LPWSTR buffer, int bufferCount, LPCWSTR format, va_list arguments);
