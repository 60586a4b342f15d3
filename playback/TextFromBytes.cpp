#include "playback/TextFromBytes.h"

#include "platform/Win32.h"

namespace {

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::size_t CutLength(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) {
    return text.size();
  }
  // text[maxBytes] is the first byte left out; a sequence is at most 4 bytes long.
  std::size_t cut = maxBytes;
  while (cut > 0 && maxBytes - cut < 3 && IsContinuationByte(text[cut])) {
    --cut;
  }
  return IsContinuationByte(text[cut]) ? maxBytes : cut;
}

std::wstring WideFromBytes(const char* text, UINT codePage) {
  const int length = static_cast<int>(CutLength(text, kMaxTextCharacters));
  WCHAR buffer[kMaxTextCharacters];
  const int converted =
      length > 0 ? MultiByteToWideChar(codePage, 0, text, length, buffer, kMaxTextCharacters) : 0;
  return std::wstring(buffer, converted > 0 ? converted : 0);
}

void SetTextFromBytes(HWND window, const char* text, UINT codePage) {
  SetWindowTextW(window, WideFromBytes(text, codePage).c_str());
}
