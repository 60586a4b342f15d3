// The two kinds of station id a row can carry, each with its own tune-in address.
#pragma once

#include <string_view>

// The first directory's id: one or more decimal digits.
bool IsDirectoryStationId(std::wstring_view id);

// The open directory's station uuid: 8-4-4-4-12 hexadecimal digits.
bool IsStationUuid(std::wstring_view id);
bool IsStationUuid(std::string_view id);
