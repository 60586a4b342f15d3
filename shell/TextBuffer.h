// The program's texts live in buffers of 260 wide characters.
#pragma once

#include <cstddef>

// Every file name, address and list text of the program fits 259 characters and a terminator.
inline constexpr std::size_t kMaxTextCharacters = 259;
