// Web addresses made from a built-in format and a value from outside.
#pragma once

#include <string>
#include <string_view>

// The value's UTF-8 bytes with everything but letters, digits and "-._~" as %XX.
std::string PercentEncode(std::string_view utf8);
std::wstring PercentEncode(std::wstring_view value);

// The format with its first "%s" replaced by the percent-encoded value.
std::wstring AddressWith(std::wstring_view format, std::wstring_view value);
