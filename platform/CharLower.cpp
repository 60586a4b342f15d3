// CharLowerBuffW through GLib's Unicode tables: the C library knows only ASCII's cases until a
// locale is set, and the program sets none.
#include <glib.h>

#include "platform/Text.h"

DWORD CharLowerBuffW(LPWSTR text, DWORD length) {
  if (text == nullptr) {
    return 0;
  }
  for (DWORD i = 0; i < length; ++i) {
    text[i] = static_cast<WCHAR>(g_unichar_tolower(static_cast<gunichar>(text[i])));
  }
  return length;
}
