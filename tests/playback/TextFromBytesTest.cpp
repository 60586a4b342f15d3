#include "playback/TextFromBytes.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/HeadlessScreen.h"
#include "platform/Win32.h"

namespace {

TEST(TextCut, ShortTextIsKeptWhole) {
  EXPECT_EQ(CutLength("Radio Paradise", kMaxTextCharacters), 14u);
  EXPECT_EQ(CutLength(std::string(kMaxTextCharacters, 'a'), kMaxTextCharacters),
            kMaxTextCharacters);
}

TEST(TextCut, LongAsciiTextIsCutAtTheLimit) {
  EXPECT_EQ(CutLength(std::string(5000, 'a'), kMaxTextCharacters), kMaxTextCharacters);
}

TEST(TextCut, CutNeverSplitsAUtf8Sequence) {
  // "é" is two bytes, "€" three, "𝄞" four: the limit falls inside each of them.
  const std::string two = std::string(9, 'a') + "\xC3\xA9" + "bbb";
  EXPECT_EQ(CutLength(two, 10), 9u);
  EXPECT_EQ(CutLength(two, 11), 11u);
  const std::string three = std::string(8, 'a') + "\xE2\x82\xAC" + "bbb";
  EXPECT_EQ(CutLength(three, 9), 8u);
  EXPECT_EQ(CutLength(three, 10), 8u);
  EXPECT_EQ(CutLength(three, 11), 11u);
  const std::string four = std::string(7, 'a') + "\xF0\x9D\x84\x9E" + "bbb";
  for (std::size_t limit = 8; limit <= 10; ++limit) {
    EXPECT_EQ(CutLength(four, limit), 7u) << limit;
  }
  EXPECT_EQ(CutLength(four, 11), 11u);
}

TEST(TextCut, BytesThatAreNotUtf8AreCutAtTheLimit) {
  // Windows-1252 text: a run of continuation-like bytes is no sequence to keep whole.
  const std::string latin(20, '\xA0');
  EXPECT_EQ(CutLength(latin, 10), 10u);
}

// A text line of a window on the headless screen, as the status line is.
class TextLine : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::UseHeadlessScreen(240, 320, 96);
    line_ = CreateWindowExW(0, L"Static", L"", WS_VISIBLE | SS_CENTER, 0, 0, 240, 20, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(line_, nullptr);
  }
  void TearDown() override { DestroyWindow(line_); }

  std::wstring Text() const {
    WCHAR text[1024] = {};
    GetWindowTextW(line_, text, 1024);
    return text;
  }

  HWND line_ = nullptr;
};

TEST_F(TextLine, StationsSendUtf8AndWindows1252Alike) {
  SetTextFromBytes(line_, "Caf\xC3\xA9 Radio", CP_ACP);
  EXPECT_EQ(Text(), L"Caf\u00E9 Radio");
  SetTextFromBytes(line_, "Caf\xE9 Radio", CP_ACP);
  EXPECT_EQ(Text(), L"Caf\u00E9 Radio");
  SetTextFromBytes(line_, "\xE2\x99\xAA Ogg", CP_UTF8);
  EXPECT_EQ(Text(), L"\u266A Ogg");
}

TEST_F(TextLine, HugeTextIsCutToTheProgramsTextRoom) {
  SetTextFromBytes(line_, std::string(100000, 'x').c_str(), CP_ACP);
  EXPECT_EQ(Text(), std::wstring(kMaxTextCharacters, L'x'));
}

TEST_F(TextLine, CutUtf8TextKeepsWholeCharactersAndStaysUtf8) {
  // 258 bytes, then "é": cutting at 259 would split it and turn the line into Windows-1252.
  const std::string text = std::string(258, 'a') + "\xC3\xA9";
  SetTextFromBytes(line_, text.c_str(), CP_ACP);
  EXPECT_EQ(Text(), std::wstring(258, L'a'));
  SetTextFromBytes(line_, (std::string(200, 'a') + "\xC3\xA9" + std::string(200, 'b')).c_str(),
                   CP_ACP);
  EXPECT_EQ(Text(), std::wstring(200, L'a') + L"\u00E9" + std::wstring(57, L'b'));
}

TEST_F(TextLine, EmptyTextEmptiesTheLine) {
  SetWindowTextW(line_, L"before");
  SetTextFromBytes(line_, "", CP_ACP);
  EXPECT_EQ(Text(), L"");
}

}  // namespace
