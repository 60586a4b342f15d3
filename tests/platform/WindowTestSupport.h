// A headless screen with a top-level window and child windows that record the messages they
// get and paint themselves in a colour of their own, for the window-system tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <thread>
#include <vector>

#include "platform/HeadlessScreen.h"
#include "platform/Win32.h"

struct Received {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::thread::id thread;
};

class WindowTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 320;
  static constexpr COLORREF kParentColor = RGB(0, 0, 128);

  void SetUp() override {
    headless::UseHeadlessScreen(kWidth, kHeight, 96);
    current = this;
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Procedure;
      wc.lpszClassName = L"TestWindow";
      wc.hbrBackground = CreateSolidBrush(kParentColor);
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    main = CreateWindowExW(0, L"TestWindow", L"test", WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                           nullptr, nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(headless::RunUntilIdle());
  }

  void TearDown() override {
    if (IsWindow(main)) {
      DestroyWindow(main);
    }
    headless::RunUntilIdle();
    current = nullptr;
  }

  // A child of the test window that paints its client area in `color`.
  HWND Child(int id, RECT r, COLORREF color, LPCWSTR className = L"TestWindow",
             DWORD style = WS_CHILD | WS_VISIBLE) {
    HWND child =
        CreateWindowExW(0, className, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        main, reinterpret_cast<HMENU>(id), nullptr, nullptr);
    colors[child] = color;
    return child;
  }

  std::vector<Received> Got(UINT message, HWND hwnd = nullptr) const {
    std::vector<Received> found;
    for (const Received& r : received) {
      if (r.message == message && (hwnd == nullptr || r.hwnd == hwnd)) {
        found.push_back(r);
      }
    }
    return found;
  }

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowTest* test = current;
    if (test == nullptr) {
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    test->received.push_back(Received{hwnd, message, wParam, lParam, std::this_thread::get_id()});
    if (test->handler) {
      if (std::optional<LRESULT> handled = test->handler(hwnd, message, wParam, lParam)) {
        return *handled;
      }
    }
    auto color = test->colors.find(hwnd);
    if (message == WM_PAINT && color != test->colors.end()) {
      PAINTSTRUCT paint;
      HDC hdc = BeginPaint(hwnd, &paint);
      RECT client;
      GetClientRect(hwnd, &client);
      HBRUSH brush = CreateSolidBrush(color->second);
      FillRect(hdc, &client, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &paint);
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  inline static WindowTest* current = nullptr;
  HWND main = nullptr;
  std::map<HWND, COLORREF> colors;
  std::vector<Received> received;
  // Runs first for every message; a value means handled, with that result.
  std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> handler;
};
