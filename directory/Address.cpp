#include "directory/Address.h"

#include "platform/Utf8.h"

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::wstring PercentEncode(std::wstring_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::wstring encoded;
  for (unsigned char byte : WideToUtf8(value)) {
    if (IsUnreserved(byte)) {
      encoded += static_cast<wchar_t>(byte);
    } else {
      encoded += L'%';
      encoded += static_cast<wchar_t>(kHex[byte >> 4]);
      encoded += static_cast<wchar_t>(kHex[byte & 0xF]);
    }
  }
  return encoded;
}

std::wstring AddressWith(std::wstring_view format, std::wstring_view value) {
  std::wstring address(format);
  const size_t slot = address.find(L"%s");
  if (slot != std::wstring::npos) {
    address.replace(slot, 2, PercentEncode(value));
  }
  return address;
}
