// A headless main window with the program's two list views, and a WebClient whose folder is a
// fresh temporary folder, for the tests of the loaders.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"
#include "shell/ControlIds.h"
#include "tests/directory/StationListView.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempDir.h"

class ListWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::UseHeadlessScreen(480, 640, 192);
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.lpszClassName = L"DirectoryTestWindow";
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    window = CreateWindowExW(0, L"DirectoryTestWindow", L"directory", WS_VISIBLE, 0, 0, 480, 640,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    genreList = MakeList(ID_GENRE_LIST, WS_VISIBLE);
    stationList = MakeList(ID_STATION_LIST, 0);
    const std::wstring folder = Utf8ToWide(dir.path() + "/");
    folder.copy(client.folder, folder.size());
    client.downloadLimits.connectTimeoutMs = 2000;
    client.downloadLimits.stallTimeoutMs = 1000;
  }

  void TearDown() override {
    DestroyWindow(window);
    headless::RunUntilIdle();
  }

  int RowCount(HWND list) const {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  }

  std::wstring Text(HWND list, int row, int column) const {
    WCHAR text[600] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 600;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }

  int SelectedRow(HWND list) const {
    return static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }

  void Select(HWND list, int row) const {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (row >= 0) {
      state.state = LVIS_SELECTED;
      SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&state));
    }
  }

  void AddRow(HWND list, const std::wstring& name, const std::wstring& id) const {
    const int row = RowCount(list);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<LPWSTR>(name.c_str());
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<LPWSTR>(id.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }

  // What every loader of the station list leaves: row 0 selected, black, focused, shown.
  void ExpectStationListShown() const {
    if (RowCount(stationList) > 0) {
      EXPECT_EQ(SelectedRow(stationList), 0);
    }
    EXPECT_EQ(SendMessageW(stationList, LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(0, 0, 0)));
    EXPECT_TRUE(IsWindowVisible(stationList));
    EXPECT_FALSE(IsWindowVisible(genreList));
    EXPECT_EQ(GetFocus(), stationList);
  }

  void CopyFixture(const char* fixtureName, const char* asName) const {
    std::filesystem::copy_file(fixture::FixturePath(std::string("directory/") + fixtureName),
                               dir.File(asName), std::filesystem::copy_options::overwrite_existing);
  }

  fixture::TempDir dir;
  WebClient client;
  HWND window = nullptr;
  HWND genreList = nullptr;
  HWND stationList = nullptr;

 private:
  HWND MakeList(int id, DWORD visible) {
    HWND list = CreateProgramListView(window, id, visible);
    // Not black, so that only the loader can make it black.
    SendMessageW(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(RGB(255, 255, 255)));
    return list;
  }
};
