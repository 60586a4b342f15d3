#include "platform/Utf8.h"

namespace {

bool IsScalarValue(char32_t c) {
  return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

}  // namespace

namespace utf8 {

std::size_t DecodeOne(std::string_view text, char32_t* codePoint, bool* valid) {
  const auto lead = static_cast<unsigned char>(text[0]);
  *valid = false;
  *codePoint = kReplacement;
  if (lead < 0x80) {
    *codePoint = lead;
    *valid = true;
    return 1;
  }
  std::size_t length;
  char32_t value;
  // The allowed range of the second byte rules out overlong forms, surrogates and values past
  // U+10FFFF at the earliest byte, so each ill-formed subsequence is as short as possible.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) {
      low = 0xA0;
    } else if (lead == 0xED) {
      high = 0x9F;
    }
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) {
      low = 0x90;
    } else if (lead == 0xF4) {
      high = 0x8F;
    }
  } else {
    return 1;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= text.size()) {
      return i;
    }
    const auto b = static_cast<unsigned char>(text[i]);
    const bool inRange = i == 1 ? (b >= low && b <= high) : IsContinuation(b);
    if (!inRange) {
      return i;
    }
    value = (value << 6) | (b & 0x3F);
  }
  *codePoint = value;
  *valid = true;
  return length;
}

void Append(std::string& out, char32_t c) {
  if (!IsScalarValue(c)) {
    c = kReplacement;
  }
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace utf8

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    utf8::Append(out, static_cast<char32_t>(c));
  }
  return out;
}

std::wstring Utf8ToWide(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  while (!text.empty()) {
    char32_t c;
    bool valid;
    const std::size_t used = utf8::DecodeOne(text, &c, &valid);
    out += static_cast<wchar_t>(c);
    text.remove_prefix(used);
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    char32_t c;
    bool valid;
    text.remove_prefix(utf8::DecodeOne(text, &c, &valid));
    if (!valid) {
      return false;
    }
  }
  return true;
}

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (; !text.empty(); ++count) {
    char32_t c;
    bool valid;
    text.remove_prefix(utf8::DecodeOne(text, &c, &valid));
  }
  return count;
}
