#include "directory/Address.h"

#include "platform/Utf8.h"

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string PercentEncode(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char byte : utf8) {
    if (IsUnreserved(byte)) {
      encoded += static_cast<char>(byte);
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0xF];
    }
  }
  return encoded;
}

std::wstring PercentEncode(std::wstring_view value) {
  // The encoded form is plain ASCII.
  const std::string encoded = PercentEncode(WideToUtf8(value));
  return std::wstring(encoded.begin(), encoded.end());
}

std::wstring AddressWith(std::wstring_view format, std::wstring_view value) {
  std::wstring address(format);
  const size_t slot = address.find(L"%s");
  if (slot != std::wstring::npos) {
    address.replace(slot, 2, PercentEncode(value));
  }
  return address;
}
