#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "playback/ApplicationFolder.h"

namespace {

std::wstring Folder(const std::wstring& path) {
  WCHAR folder[260];
  FolderOfPath(path.c_str(), static_cast<int>(path.size()), folder);
  return folder;
}

TEST(FolderOfPath, KeepsEverythingUpToAndIncludingTheLastSeparator) {
  EXPECT_EQ(Folder(L"/opt/tunedeck/tunedeck"), L"/opt/tunedeck/");
  EXPECT_EQ(Folder(L"/tunedeck"), L"/");
  EXPECT_EQ(Folder(L"/opt/tunedeck/"), L"/opt/tunedeck/");
}

TEST(FolderOfPath, PathWithoutSeparatorGivesAnEmptyFolder) {
  EXPECT_EQ(Folder(L"tunedeck"), L"");
  EXPECT_EQ(Folder(L""), L"");
}

TEST(FolderOfPath, BackslashIsNotThisPlatformsSeparator) {
  EXPECT_EQ(Folder(L"/opt/a\\b"), L"/opt/");
}

TEST(FolderOfPath, PathOf259CharactersGivesATerminatedFolder) {
  const std::wstring folder = L"/" + std::wstring(250, L'd') + L"/";
  const std::wstring path = folder + std::wstring(259 - folder.size(), L'x');
  ASSERT_EQ(path.size(), 259u);
  WCHAR result[260];
  std::wmemset(result, L'#', 260);
  FolderOfPath(path.c_str(), 259, result);
  EXPECT_EQ(std::wstring(result), folder);
}

TEST(FolderOfPath, SearchStopsAtANul) {
  const WCHAR path[] = L"/a/b\0cc";
  WCHAR folder[260];
  FolderOfPath(path, 7, folder);
  EXPECT_EQ(std::wstring(folder), L"");
}

}  // namespace
