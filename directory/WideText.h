// UTF-8 for everything the directory keeps on disk or sends: its text files, file names and
// addresses. The program itself holds wide text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Every file name, address and list text of the program fits 259 characters (and a terminator).
inline constexpr std::size_t kMaxTextCharacters = 259;

// Bytes that are not valid UTF-8 become U+FFFD, one per byte.
std::wstring WideFromUtf8(std::string_view bytes);
// A lone surrogate or a value beyond U+10FFFF becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
