// wsprintfW with the program's formats, and the bounded form that cuts safely.
#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"

namespace {

TEST(WideFormatTest, FormatsTheProgramsOwnTexts) {
  wchar_t buffer[260];
  EXPECT_EQ(wsprintfW(buffer, L"buffering... %d%%", 42), 16);
  EXPECT_STREQ(buffer, L"buffering... 42%");
  wsprintfW(buffer, L"%s - %s", L"Artist", L"Title");
  EXPECT_STREQ(buffer, L"Artist - Title");
  wsprintfW(buffer, L"%sfolder.jpg", L"/opt/tunedeck/");
  EXPECT_STREQ(buffer, L"/opt/tunedeck/folder.jpg");
  wsprintfW(buffer, L"\r\n%s|%s", L"1234", L"Радио");
  EXPECT_STREQ(buffer, L"\r\n1234|Радио");
}

TEST(WideFormatTest, IntegersWidthsAndFlags) {
  wchar_t buffer[64];
  wsprintfW(buffer, L"[%d|%i|%u|%x|%X|%#x]", -7, 12, 3000000000u, 255, 255, 255);
  EXPECT_STREQ(buffer, L"[-7|12|3000000000|ff|FF|0xff]");
  wsprintfW(buffer, L"[%5d|%-5d|%05d|%.3d|%hd]", 42, 42, -42, 7, 70000);
  EXPECT_STREQ(buffer, L"[   42|42   |-0042|007|4464]");
}

TEST(WideFormatTest, StringsCharactersAndNull) {
  wchar_t buffer[64];
  wsprintfW(buffer, L"[%.3s|%6s|%-4s|%s]", L"abcdef", L"ab", L"x", static_cast<wchar_t*>(nullptr));
  EXPECT_STREQ(buffer, L"[abc|    ab|x   |(null)]");
  wsprintfW(buffer, L"[%hs|%S|%c|%C]", "caf\xC3\xA9", "caf\xE9", L'\u00E9', 'x');
  EXPECT_STREQ(buffer, L"[caf\u00E9|caf\u00E9|\u00E9|x]");
}

TEST(WideFormatTest, UnknownTypesAndTrailingPercentAreTaken) {
  wchar_t buffer[32];
  EXPECT_EQ(wsprintfW(buffer, L"100%q and %"), 9);
  EXPECT_STREQ(buffer, L"100q and ");
}

TEST(WideFormatTest, StopsAtTheOriginalLimitOf1024Characters) {
  std::wstring longText(5000, L'a');
  std::wstring buffer(5000, L'#');
  EXPECT_EQ(wsprintfW(buffer.data(), L"%s", longText.c_str()), 1023);
  EXPECT_EQ(buffer[1023], L'\0');
  EXPECT_EQ(buffer[1024], L'#');
}

TEST(WideFormatTest, BoundedFormCutsAndTerminatesInsideTheBuffer) {
  wchar_t buffer[8];
  buffer[7] = L'!';
  EXPECT_EQ(wnsprintfW(buffer, 7, L"%s - %s", L"Artist", L"Title"), 6);
  EXPECT_STREQ(buffer, L"Artist");
  EXPECT_EQ(buffer[7], L'!');
  EXPECT_EQ(wnsprintfW(buffer, 0, L"x"), -1);
  EXPECT_EQ(wnsprintfW(buffer, 1, L"%d", 12345), 0);
  EXPECT_STREQ(buffer, L"");
}

TEST(WideFormatTest, HugeWidthIsCutAtTheBuffer) {
  wchar_t buffer[16];
  EXPECT_EQ(wnsprintfW(buffer, 16, L"%99999999999d", 1), 15);
}

}  // namespace
