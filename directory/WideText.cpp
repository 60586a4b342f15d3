#include "directory/WideText.h"

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Decodes one sequence at `bytes[i]`; returns its length, or 0 when it is not valid UTF-8
// (overlong forms, surrogates and values beyond U+10FFFF included).
size_t DecodeOne(std::string_view bytes, size_t i, char32_t& value) {
  const unsigned char lead = static_cast<unsigned char>(bytes[i]);
  size_t length;
  char32_t minimum;
  if (lead < 0x80) {
    value = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) {
    return 0;
  }
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
    if (!IsContinuation(next)) {
      return 0;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  return length;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t value = 0;
    const size_t length = DecodeOne(bytes, i, value);
    if (length == 0) {
      text += kReplacement;
      ++i;
    } else {
      text += static_cast<wchar_t>(value);
      i += length;
    }
  }
  return text;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) {
    char32_t value = static_cast<char32_t>(c);
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      value = kReplacement;
    }
    if (value < 0x80) {
      bytes += static_cast<char>(value);
    } else if (value < 0x800) {
      bytes += static_cast<char>(0xC0 | (value >> 6));
      bytes += static_cast<char>(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
      bytes += static_cast<char>(0xE0 | (value >> 12));
      bytes += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (value & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | (value >> 18));
      bytes += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
      bytes += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (value & 0x3F));
    }
  }
  return bytes;
}
