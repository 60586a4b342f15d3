#include "directory/WebClient.h"

#include <cstdio>
#include <cwchar>

#include "directory/ServiceHosts.h"
#include "platform/Utf8.h"

WebClient webClient;

WebClient::WebClient() {
  static_assert(sizeof kDirectoryQueryFormat <= sizeof queryFormat);
  std::wcscpy(queryFormat, kDirectoryQueryFormat);
}

bool FileExists(LPCWSTR fileName) {
  std::FILE* file = std::fopen(WideToUtf8(fileName).c_str(), "r");
  if (file == nullptr) {
    return false;
  }
  std::fclose(file);
  return true;
}
