#include "directory/TwoFieldLine.h"

#include <fstream>
#include <iterator>

#include "platform/Utf8.h"

namespace {

constexpr wchar_t kByteOrderMark = 0xFEFF;

// What a text-mode read sees: CR LF becomes LF; a lone CR stays.
std::wstring TextModeView(std::wstring text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace

std::wstring_view TakeLinePiece(std::wstring_view& rest) {
  size_t length = rest.find(L'\n');
  length = (length == std::wstring_view::npos) ? rest.size() : length + 1;
  if (length > kLineReadCharacters) {
    length = kLineReadCharacters;
  }
  const std::wstring_view piece = rest.substr(0, length);
  rest.remove_prefix(length);
  return piece;
}

std::optional<TwoFields> SplitTwoFieldLine(std::wstring_view piece) {
  piece = piece.substr(0, piece.find(L'\0'));
  if (!piece.empty() && piece.back() == L'\n') {
    piece.remove_suffix(1);
  }
  const size_t bar = piece.find(L'|');
  if (bar == 0 || bar == std::wstring_view::npos || bar + 1 == piece.size()) {
    return std::nullopt;
  }
  return TwoFields{std::wstring(piece.substr(0, bar)), std::wstring(piece.substr(bar + 1))};
}

std::vector<TwoFields> ReadTwoFieldText(std::string_view bytes) {
  const std::wstring text = TextModeView(Utf8ToWide(bytes));
  std::wstring_view rest = text;
  if (!rest.empty() && rest.front() == kByteOrderMark) {
    rest.remove_prefix(1);
  }
  std::vector<TwoFields> rows;
  while (!rest.empty()) {
    if (std::optional<TwoFields> row = SplitTwoFieldLine(TakeLinePiece(rest))) {
      rows.push_back(std::move(*row));
    }
  }
  return rows;
}

std::vector<TwoFields> ReadTwoFieldFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return {};
  }
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return ReadTwoFieldText(bytes);
}
