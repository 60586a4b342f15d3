// The text a station row shows for the directory's name of a station.
#pragma once

#include <string>
#include <string_view>

// At most the first 259 characters of the name, cut before its first '-' (the '-' and all after
// it dropped, the characters before it kept, blanks included).
std::wstring StationNameShown(std::string_view utf8Name);
