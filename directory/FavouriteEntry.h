// One entry of the favourites file and how it is added.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The bytes appended for a station: CR LF, the id, '|', the name, in UTF-8. Each text is cut to
// 259 characters and its line breaks become blanks, so an entry stays one line. Nothing when
// the id holds a '|' (it would move the field boundary) or either text is empty (the line would
// never read back as a row).
std::optional<std::string> FavouriteEntry(std::wstring_view id, std::wstring_view name);

// Appends the bytes to the file (created when missing) with one write, then closes it, so a
// crash never leaves half an entry; a short write is taken back. True when all were written.
bool AppendWhole(const std::string& path, std::string_view bytes);
