// The two-field line shared by the genre file and the favourites file: "first|second", split at
// the first '|'. Files are UTF-8 and read as a text-mode stream would read them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TwoFields {
  std::wstring first;
  std::wstring second;
};

// One read takes at most this many characters of a line, its line break included.
inline constexpr std::size_t kLineReadCharacters = 499;

// Takes the next piece that one read returns off the front of `rest`: up to and including the
// next LF, at most kLineReadCharacters. Empty when `rest` is empty.
std::wstring_view TakeLinePiece(std::wstring_view& rest);

// The fields of one piece: the first before the first '|', the second after it up to the line
// break. The piece ends at a NUL, as a C text would. Nothing unless both fields are non-empty.
std::optional<TwoFields> SplitTwoFieldLine(std::wstring_view piece);

// The rows of a file's bytes in file order, one per piece that splits; a leading byte-order mark
// is skipped and CR LF reads as LF.
std::vector<TwoFields> ReadTwoFieldText(std::string_view bytes);

// The same for a file; a file that cannot be opened gives no rows.
std::vector<TwoFields> ReadTwoFieldFile(const std::string& path);
