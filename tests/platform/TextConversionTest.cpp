// MultiByteToWideChar and WideCharToMultiByte: UTF-8, Windows-1252 bytes under the ANSI code
// page, ill-formed and truncated sequences, sizing calls and buffers that are too small.
#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"

namespace {

std::wstring Convert(UINT codePage, const std::string& bytes, DWORD flags = 0) {
  const int n = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()),
                                    nullptr, 0);
  std::wstring out(n, L'\0');
  if (n > 0) {
    EXPECT_EQ(MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()),
                                  out.data(), n),
              n);
  }
  return out;
}

TEST(TextConversionTest, SizingCallCountsTheTerminatorWhenLengthIsMinusOne) {
  const char* text = "Caf\xC3\xA9";  // 5 bytes, 4 characters
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0), 5);
  wchar_t buffer[5];
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, -1, buffer, 5), 5);
  EXPECT_STREQ(buffer, L"Caf\u00E9");
}

TEST(TextConversionTest, ExplicitLengthConvertsExactlyThoseBytesWithoutTerminator) {
  wchar_t buffer[8] = {L'x', L'x', L'x', L'x', L'x', L'x', L'x', L'x'};
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 2, buffer, 8), 2);
  EXPECT_EQ(buffer[0], L'a');
  EXPECT_EQ(buffer[1], L'b');
  EXPECT_EQ(buffer[2], L'x');
}

TEST(TextConversionTest, Utf8DecodesEveryPlane) {
  EXPECT_EQ(Convert(CP_UTF8, "\xD0\xA0\xD0\xB0\xD0\xB4\xD0\xB8\xD0\xBE"), L"Радио");
  EXPECT_EQ(Convert(CP_UTF8, "\xE6\x9D\xB1\xE4\xBA\xAC"), L"東京");
  EXPECT_EQ(Convert(CP_UTF8, "\xF0\x9F\x8E\xB5"), std::wstring(1, static_cast<wchar_t>(0x1F3B5)));
}

TEST(TextConversionTest, AnsiCodePageTakesValidUtf8AsUtf8) {
  EXPECT_EQ(Convert(CP_ACP, "Beyonc\xC3\xA9 - Halo"), L"Beyonc\u00E9 - Halo");
}

TEST(TextConversionTest, AnsiCodePageTakesOtherBytesAsWindows1252) {
  EXPECT_EQ(Convert(CP_ACP, "Beyonc\xE9 - Halo"), L"Beyonc\u00E9 - Halo");
  EXPECT_EQ(Convert(CP_ACP, "\x80 \x93quoted\x94 \x85"), L"\u20AC \u201Cquoted\u201D \u2026");
  EXPECT_EQ(Convert(CP_ACP, "caf\xE9 \x81"), L"caf\u00E9 \u0081");
  EXPECT_EQ(Convert(CP_WINDOWS_1252, "\xC3\xA9"), L"\u00C3\u00A9");
}

TEST(TextConversionTest, IllFormedUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(Convert(CP_UTF8,
                    "a\xFF"
                    "b"),
            L"a\uFFFDb");
  EXPECT_EQ(Convert(CP_UTF8, "\xC0\xAF"), L"\uFFFD\uFFFD");            // overlong
  EXPECT_EQ(Convert(CP_UTF8, "\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // a surrogate
  EXPECT_EQ(Convert(CP_UTF8, "\xF4\x90\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(TextConversionTest, TruncatedSequencesBecomeOneReplacementEach) {
  EXPECT_EQ(Convert(CP_UTF8, "ab\xE6\x9D"), L"ab\uFFFD");
  EXPECT_EQ(Convert(CP_UTF8,
                    "\xF0\x9F\x8E"
                    "x"),
            L"\uFFFDx");
  // Under the ANSI code page, a truncated sequence makes the text Windows-1252.
  EXPECT_EQ(Convert(CP_ACP, "ab\xE6\x9D"), L"ab\u00E6\u009D");
  const char cut[] = {'T', 'i', '\xC3', '\0'};
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, cut, -1, nullptr, 0), 4);
}

TEST(TextConversionTest, ErrorFlagRefusesIllFormedInput) {
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "ab", 2, nullptr, 0), 2);
}

TEST(TextConversionTest, TooSmallBufferFailsWithoutWritingPastIt) {
  wchar_t buffer[4] = {L'-', L'-', L'-', L'!'};
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "hello", -1, buffer, 3), 0);
  EXPECT_EQ(buffer[3], L'!');
}

TEST(TextConversionTest, BadArgumentsFail) {
  wchar_t buffer[4];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, buffer, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", 0, buffer, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", -2, buffer, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", 1, nullptr, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", 1, buffer, -1), 0);
  EXPECT_EQ(MultiByteToWideChar(437, 0, "a", 1, buffer, 4), 0);
}

TEST(TextConversionTest, WideToUtf8RoundTripsAndReplacesNonCharacters) {
  const wchar_t* text = L"Радио 東京 \u00E9";
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(n, '\0');
  ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), n, nullptr, nullptr), n);
  EXPECT_EQ(Convert(CP_UTF8, bytes), std::wstring(text, std::wcslen(text) + 1));

  const wchar_t bad[] = {0xD800, 0x110000};
  char out[8];
  ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, bad, 2, out, 8, nullptr, nullptr), 6);
  EXPECT_EQ(std::string(out, 6), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"abc", -1, out, 2, nullptr, nullptr), 0);
}

}  // namespace
