// Reading a stream's response headers for what they say about the station.
#pragma once

#include <initializer_list>
#include <string_view>

#include "platform/Win32Types.h"

// The stream's ICY response headers, else its HTTP ones: NUL-terminated lines ended by an
// empty one. Null when it has neither (a stale handle included). Any thread.
const char* StationHeaders(DWORD stream);

// The value of the last line of `headers` (as StationHeaders gives them; null is none) whose
// name, colon included and in any case, is one of `names`: the text after the colon, as sent.
// Null when no line has such a name.
const char* LastHeaderValue(const char* headers, std::initializer_list<std::string_view> names);
