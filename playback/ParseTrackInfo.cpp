#include "playback/ParseTrackInfo.h"

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "directory/FilePaths.h"
#include "directory/WebClient.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"
#include "playback/TextAfterTag.h"
#include "playback/TrackInfoReply.h"
#include "shell/TextBuffer.h"

namespace {

// The image address out of the pattern's match: the match converted, its closing '<' dropped and
// its opening tag cut off. Empty when the address would not fit the program's 259 characters.
std::wstring ImageAddress(const std::string& match) {
  const int needed = MultiByteToWideChar(CP_ACP, 0, match.c_str(), -1, nullptr, 0);
  if (needed <= 1) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, match.c_str(), -1, text.data(), needed);
  text.resize(std::wcslen(text.c_str()));
  text.pop_back();
  TextAfterTag(text.data(), text.data());
  text.resize(std::wcslen(text.c_str()));
  return text.size() <= kMaxTextCharacters ? text : std::wstring{};
}

}  // namespace

int ParseTrackInfo(WebClient& client, LPCWSTR name, LPWSTR image) {
  image[0] = L'\0';
  const auto path = FileInFolder(client.folder, std::wstring(name) + L".txt");
  using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
  const File reply(path ? std::fopen(WideToUtf8(*path).c_str(), "rb") : nullptr, &std::fclose);
  const AlbumSearch search = FindAlbumImage(reply.get(), client.regex);
  if (!search.albumFound) {
    return 1;
  }
  const std::wstring address = ImageAddress(search.imageMatch);
  std::wmemcpy(image, address.c_str(), address.size() + 1);
  return 0;
}
