#include "playback/ApplicationFolder.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>

#include "platform/Utf8.h"
#include "platform/Win32.h"
#include "shell/MainWindowState.h"
#include "shell/TextBuffer.h"

namespace {

namespace fs = std::filesystem;

constexpr char genreFile[] = "categories.txt";

bool HoldsGenreFile(const std::string& folder) {
  std::error_code error;
  return fs::is_regular_file(folder + genreFile, error);
}

// Copies each regular file of `shipped` that `folder` lacks: what the person changed or added
// there (their genre file, favourites, caches) is never replaced.
void CopyMissingFiles(const std::string& shipped, const std::string& folder) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(shipped, error)) {
    std::error_code entryError;
    if (entry.is_regular_file(entryError)) {
      fs::copy_file(entry.path(), folder + entry.path().filename().string(),
                    fs::copy_options::skip_existing, entryError);
    }
  }
}

// tunedeck/ in the user's data folder, made ready; empty when it cannot be had.
std::wstring UserDataFolder(const std::string& executableFolder) {
  WCHAR dataHome[kMaxTextCharacters + 1] = {};
  if (!SHGetSpecialFolderPathW(nullptr, dataHome, CSIDL_APPDATA, TRUE)) {
    return L"";
  }
  const std::wstring folder = std::wstring(dataHome) + L"/tunedeck/";
  std::error_code error;
  if (folder.size() > kMaxTextCharacters ||
      (!fs::create_directory(WideToUtf8(folder), error) && error)) {
    return L"";
  }
  const std::string shipped =
      HoldsGenreFile(executableFolder) ? executableFolder : executableFolder + "../share/tunedeck/";
  CopyMissingFiles(shipped, WideToUtf8(folder));
  return folder;
}

}  // namespace

void FolderOfPath(const WCHAR* path, int length, WCHAR* folder) {
  int end = 0;  // characters kept
  for (int i = length - 1; i >= 0 && path[i] != L'\0'; --i) {
    if (path[i] == L'/') {
      end = i + 1;
      break;
    }
  }
  for (int i = 0; i < end; ++i) {
    folder[i] = path[i];
  }
  folder[end] = L'\0';
}

BOOL GetApplicationFolder(WCHAR* folder) {
  WCHAR path[kMaxTextCharacters + 1] = {};
  const DWORD length = GetModuleFileNameW(appInstance, path, static_cast<DWORD>(std::size(path)));
  // A path cut to the buffer is still terminated within it.
  FolderOfPath(path, static_cast<int>(std::min<DWORD>(length, kMaxTextCharacters)), folder);
  // A build tree keeps its data beside the executable, as the program always did.
  const std::string executableFolder = WideToUtf8(folder);
  if (HoldsGenreFile(executableFolder) && access(executableFolder.c_str(), W_OK) == 0) {
    return TRUE;
  }
  const std::wstring userFolder = UserDataFolder(executableFolder);
  if (!userFolder.empty()) {
    wsprintfW(folder, L"%s", userFolder.c_str());
  }
  return TRUE;
}
