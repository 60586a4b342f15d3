// The single-line "Edit" control: text from keys and from an input method, Backspace, Return and
// Escape, and the text input it asks the screen for while it has the focus.
#include "tests/platform/WindowTestSupport.h"

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | ES_CENTER;
constexpr int kEditId = 3020;

}  // namespace

class EditTest : public WindowTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(WindowTest::SetUp());
    edit = CreateWindowExW(0, L"Edit", L"", kEditStyle, 0, 0, kWidth, 20, main,
                           reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    other = Child(1, RECT{0, 40, kWidth, 80}, RGB(0, 128, 0));
  }

  std::wstring Text() {
    WCHAR text[64];
    GetWindowTextW(edit, text, 64);
    return text;
  }

  // The WM_COMMAND words the parent got, low word and high word.
  std::vector<std::pair<int, int>> Commands() {
    std::vector<std::pair<int, int>> commands;
    for (const Received& r : Got(WM_COMMAND, main)) {
      EXPECT_EQ(r.lParam, reinterpret_cast<LPARAM>(edit));
      commands.emplace_back(LOWORD(r.wParam), HIWORD(r.wParam));
    }
    return commands;
  }

  HWND edit = nullptr;
  HWND other = nullptr;
};

TEST_F(EditTest, TypedKeysAndInputMethodTextGoIntoTheLineWhileItAsksForText) {
  headless::TypeText("lost");  // nothing asks for text: an input method cannot type
  headless::Tap(100, 10);
  headless::RunUntilIdle();
  EXPECT_TRUE(headless::TextAsked());
  headless::TypeKeys(L"Ja z");
  headless::TypeText("\xD0\x97\xE6\x97\xA5\xD8\xB9");  // З日ع: two, three and two bytes
  headless::RunUntilIdle();
  EXPECT_EQ(Text(), L"Ja z\u0417\u65E5\u0639");
  EXPECT_EQ(Commands().size(), 7u);
  EXPECT_EQ(Commands().back(), std::make_pair(kEditId, int{EN_CHANGE}));

  SetFocus(other);
  headless::RunUntilIdle();
  EXPECT_FALSE(headless::TextAsked());
  headless::TypeText("x");
  headless::RunUntilIdle();
  EXPECT_EQ(Text(), L"Ja z\u0417\u65E5\u0639");
}

TEST_F(EditTest, BackspaceTakesAwayOneWholeCharacterAtATime) {
  SetWindowTextW(edit, L"a\u65E5\U0001F3B5");  // a, a CJK character, a character beyond 16 bits
  SetFocus(edit);
  headless::PressKey(VK_BACK);
  headless::RunUntilIdle();
  EXPECT_EQ(Text(), L"a\u65E5");
  for (int i = 0; i < 3; ++i) {
    headless::PressKey(VK_BACK);
  }
  headless::RunUntilIdle();
  EXPECT_EQ(Text(), L"");
  EXPECT_EQ(Commands().size(), 3u);  // an empty line has nothing to take away
}

TEST_F(EditTest, ReturnAndEscapeTellTheParentAndLeaveTheText) {
  SetWindowTextW(edit, L"jazz");
  SetFocus(edit);
  headless::PressKey(VK_RETURN);
  headless::PressKey(VK_ESCAPE);
  headless::RunUntilIdle();
  EXPECT_EQ(Commands(),
            (std::vector<std::pair<int, int>>{{IDOK, BN_CLICKED}, {IDCANCEL, BN_CLICKED}}));
  EXPECT_EQ(Text(), L"jazz");
}

TEST_F(EditTest, TheLimitStopsTypingAndControlCharactersAreNotText) {
  SendMessageW(edit, EM_LIMITTEXT, 3, 0);
  SetFocus(edit);
  headless::TypeKeys(L"ab\tcd");
  for (WPARAM c : {WPARAM{0x7F}, WPARAM{0x85}, WPARAM{0xD800}, WPARAM{0x110000}}) {
    SendMessageW(edit, WM_CHAR, c, 1);
  }
  headless::RunUntilIdle();
  EXPECT_EQ(Text(), L"abc");
}

TEST_F(EditTest, TheFocusedLineShowsACaretAfterItsText) {
  headless::RunUntilIdle();
  const auto inkAt = [](int x) {
    for (int y = 0; y < 20; ++y) {
      if (headless::Pixel(x, y) != RGB(0, 0, 0)) {
        return true;
      }
    }
    return false;
  };
  EXPECT_FALSE(inkAt(kWidth / 2));
  SetFocus(edit);
  headless::RunUntilIdle();
  EXPECT_TRUE(inkAt(kWidth / 2) || inkAt(kWidth / 2 - 1));
}

TEST_F(EditTest, KeysTypedOnAListReachItsParentAsCharacters) {
  HWND list = CreateWindowExW(0, L"SysListView32", nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0,
                              100, kWidth, 100, main, reinterpret_cast<HMENU>(7), nullptr, nullptr);
  SetFocus(list);
  headless::TypeKeys(L"j");
  headless::RunUntilIdle();
  ASSERT_EQ(Got(WM_CHAR, main).size(), 1u);
  EXPECT_EQ(Got(WM_CHAR, main)[0].wParam, WPARAM{L'j'});
}
