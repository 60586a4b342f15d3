// The report-style, owner-drawn list view: columns, rows and texts, selection under a mask,
// the measure and draw messages, taps, keys, scrolling and its scroll bar.
#include <string>

#include "tests/platform/WindowTestSupport.h"

namespace {

constexpr int kListId = 3070;
constexpr int kRowHeight = 40;
constexpr DWORD kListStyle = 0x50014C09;  // child, visible, tab stop, report, owner-drawn ...
constexpr COLORREF kRowColor = RGB(60, 60, 60);
constexpr COLORREF kSelectedColor = RGB(38, 38, 40);

struct Drawn {
  DRAWITEMSTRUCT item;
};

}  // namespace

class ListViewTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    handler = [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType == ODT_LISTVIEW) {
          measure->itemHeight = kRowHeight;
        }
        return TRUE;
      }
      if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        drawn.push_back(*item);
        HBRUSH brush =
            CreateSolidBrush((item->itemState & ODS_SELECTED) ? kSelectedColor : kRowColor);
        RECT inner = item->rcItem;
        inner.bottom -= 1;  // a line of the list's background between rows
        FillRect(item->hDC, &inner, brush);
        DeleteObject(brush);
        return TRUE;
      }
      if (message == WM_NOTIFY) {
        const auto* note = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        notes.push_back(*note);
        return 0;
      }
      return std::nullopt;
    };
    list = CreateWindowExW(0, L"SysListView32", nullptr, kListStyle, 0, 20, 200, 200, main,
                           reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    InsertColumn(L"id");
    InsertColumn(L"Description");
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(200, 0));
  }

  void InsertColumn(LPCWSTR name) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.pszText = const_cast<LPWSTR>(name);
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  }

  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      std::wstring name = L"row " + std::to_wstring(i);
      std::wstring key = L"key" + std::to_wstring(i);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = name.data();
      SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      item.iSubItem = 1;
      item.pszText = key.data();
      SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
  }

  std::wstring Text(int row, int column, int size = 260) {
    std::wstring buffer(static_cast<std::size_t>(size), L'#');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = size;
    const auto count = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                    reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(buffer[static_cast<std::size_t>(count)], L'\0');
    return buffer.substr(0, static_cast<std::size_t>(count));
  }

  void SetState(int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }

  int Selected(int after = -1) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after),
                                         MAKELPARAM(LVNI_SELECTED, 0)));
  }

  int Top(int row) {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return r.top;
  }

  HWND list = nullptr;
  std::vector<DRAWITEMSTRUCT> drawn;
  std::vector<NMITEMACTIVATE> notes;
};

TEST_F(ListViewTest, AColumnInsertedAtZeroShiftsTheOthersRight) {
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 200);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(7, 0));
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 33;
  EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)), 0);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 33);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 200);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 2, 0), 7);
}

TEST_F(ListViewTest, RowsKeepTheirTextsPerColumn) {
  AddRows(3);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(Text(1, 0), L"row 1");
  EXPECT_EQ(Text(1, 1), L"key1");
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = 0;
  item.pszText = const_cast<LPWSTR>(L"first");
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(Text(0, 0), L"first");
  EXPECT_EQ(Text(1, 0), L"row 0");
  EXPECT_EQ(Text(1, 1), L"key0");
  item.iItem = 2;
  item.iSubItem = 0;
  item.pszText = const_cast<LPWSTR>(L"changed");
  SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(Text(2, 0), L"changed");
}

TEST_F(ListViewTest, AnItemInsertedPastTheEndIsAppended) {
  AddRows(2);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = 99;
  item.pszText = const_cast<LPWSTR>(L"last");
  EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 2);
}

TEST_F(ListViewTest, TextIsCutToTheCallersBuffer) {
  AddRows(1);
  EXPECT_EQ(Text(0, 0, 4), L"row");
  EXPECT_EQ(Text(0, 0, 1), L"");
  EXPECT_EQ(Text(5, 0), L"") << "a row that does not exist";
}

TEST_F(ListViewTest, DeleteAllItemsEmptiesTheList) {
  AddRows(4);
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(Selected(), -1);
}

TEST_F(ListViewTest, StatesChangeOnlyUnderTheirMask) {
  AddRows(4);
  SetState(1, LVIS_SELECTED | LVIS_CUT | LVIS_FOCUSED, 0xF);
  SetState(1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 1, 0xF), LVIS_SELECTED | LVIS_CUT | LVIS_FOCUSED);
  SetState(1, LVIS_SELECTED, 0xF);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 1, 0xF), LVIS_SELECTED);
  SetState(3, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(Selected(1), 3);
  EXPECT_EQ(Selected(3), -1);
  SetState(-1, 0, LVIS_SELECTED);
  EXPECT_EQ(Selected(), -1);
}

TEST_F(ListViewTest, TheParentMeasuresTheRowsAndDrawsTheVisibleOnes) {
  AddRows(10);
  SetState(2, LVIS_SELECTED, 0xF);
  headless::RunUntilIdle();
  const auto measured = Got(WM_MEASUREITEM, main);
  ASSERT_FALSE(measured.empty());
  EXPECT_EQ(measured.front().wParam, static_cast<WPARAM>(kListId));
  ASSERT_EQ(drawn.size(), 5u) << "200 pixels show five rows of 40";
  for (UINT i = 0; i < drawn.size(); ++i) {
    const DRAWITEMSTRUCT& item = drawn[i];
    EXPECT_EQ(item.CtlType, ODT_LISTVIEW);
    EXPECT_EQ(item.CtlID, static_cast<UINT>(kListId));
    EXPECT_EQ(item.itemID, i);
    EXPECT_EQ(item.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(item.hwndItem, list);
    EXPECT_EQ(item.rcItem.left, 0);
    EXPECT_EQ(item.rcItem.top, static_cast<LONG>(i) * kRowHeight);
    EXPECT_EQ(item.rcItem.right, 200);
    EXPECT_EQ(item.rcItem.bottom, static_cast<LONG>(i + 1) * kRowHeight);
    EXPECT_EQ((item.itemState & ODS_SELECTED) != 0, i == 2) << "row " << i;
  }
  EXPECT_EQ(headless::Pixel(50, 20 + 2 * kRowHeight + 10), kSelectedColor);
  EXPECT_EQ(headless::Pixel(50, 20 + 1 * kRowHeight + 10), kRowColor);
}

TEST_F(ListViewTest, ATapSelectsTheRowUnderItAndNotifiesTheParent) {
  AddRows(4);
  SetState(0, LVIS_SELECTED, 0xF);
  headless::RunUntilIdle();
  headless::Tap(50, 20 + 2 * kRowHeight + 5);
  headless::RunUntilIdle();
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(Selected(2), -1);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].hdr.code, NM_CLICK);
  EXPECT_EQ(notes[0].hdr.hwndFrom, list);
  EXPECT_EQ(notes[0].hdr.idFrom, static_cast<UINT_PTR>(kListId));
  EXPECT_EQ(notes[0].iItem, 2);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(headless::Pixel(50, 20 + 2 * kRowHeight + 10), kSelectedColor);
  EXPECT_EQ(headless::Pixel(50, 20 + 10), kRowColor);
}

TEST_F(ListViewTest, ATapBelowTheRowsClearsTheSelectionAndStillNotifies) {
  AddRows(2);
  SetState(1, LVIS_SELECTED, 0xF);
  headless::Tap(50, 20 + 3 * kRowHeight);
  headless::RunUntilIdle();
  EXPECT_EQ(Selected(), -1);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].iItem, -1);
}

TEST_F(ListViewTest, EnterNotifiesAndArrowsMoveTheSelection) {
  AddRows(8);
  SetState(0, LVIS_SELECTED, 0xF);
  SetFocus(list);
  headless::PressKey(VK_DOWN);
  headless::PressKey(VK_DOWN);
  headless::PressKey(VK_UP);
  headless::PressKey(VK_RETURN);
  headless::RunUntilIdle();
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(Selected(1), -1);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].hdr.code, NM_RETURN);
  for (int i = 0; i < 10; ++i) {
    headless::PressKey(VK_DOWN);
  }
  headless::RunUntilIdle();
  EXPECT_EQ(Selected(), 7);
  EXPECT_EQ(Top(7), 200 - kRowHeight) << "the selected row was scrolled into view";
}

TEST_F(ListViewTest, ASlowDragScrollsByTheDistanceAndDoesNotSelect) {
  AddRows(20);
  headless::RunUntilIdle();
  headless::Drag(POINT{50, 200}, POINT{50, 100}, 10, 30);
  headless::RunUntilIdle();
  EXPECT_EQ(Top(0), -100);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(Selected(), -1);
}

TEST_F(ListViewTest, AFastDragFlingsOnAndStopsAtTheEnd) {
  AddRows(20);
  headless::RunUntilIdle();
  headless::Drag(POINT{50, 200}, POINT{50, 100}, 4, 2);
  headless::RunFor(std::chrono::milliseconds(1500));
  EXPECT_LT(Top(0), -100);
  EXPECT_GE(Top(19), 200 - kRowHeight) << "never beyond the last row";
}

TEST_F(ListViewTest, TheWheelScrollsARowPerNotchWithinBounds) {
  AddRows(20);
  headless::Wheel(50, 100, -2);
  headless::RunUntilIdle();
  EXPECT_EQ(Top(0), -2 * kRowHeight);
  headless::Wheel(50, 100, 5);
  headless::RunUntilIdle();
  EXPECT_EQ(Top(0), 0);
}

TEST_F(ListViewTest, AScrollBarOfTheSystemWidthAppearsWhenRowsOverflow) {
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  RECT client;
  AddRows(5);
  GetClientRect(list, &client);
  EXPECT_EQ(client.right, 200) << "five rows fit";
  AddRows(1);
  GetClientRect(list, &client);
  EXPECT_EQ(client.right, 200 - bar);
  headless::RunUntilIdle();
  EXPECT_NE(headless::Pixel(200 - bar / 2, 25), kParentColor);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  GetClientRect(list, &client);
  EXPECT_EQ(client.right, 200);
}

TEST_F(ListViewTest, TheBackgroundColourFillsBelowTheRows) {
  AddRows(1);
  SendMessageW(list, LVM_SETBKCOLOR, 0, RGB(0, 90, 0));
  headless::RunUntilIdle();
  EXPECT_EQ(headless::Pixel(50, 20 + kRowHeight + 20), RGB(0, 90, 0));
  EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), RGB(0, 90, 0));
}

TEST_F(ListViewTest, ATapOnTheScrollBarTurnsAPage) {
  AddRows(20);
  headless::RunUntilIdle();
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  headless::Tap(200 - bar / 2, 20 + 190);
  headless::RunUntilIdle();
  EXPECT_EQ(Top(0), -200);
  EXPECT_TRUE(notes.empty());
  EXPECT_EQ(Selected(), -1);
}
