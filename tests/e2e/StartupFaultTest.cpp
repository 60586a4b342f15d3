#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/MainWindow.h"
#include "directory/ControlIds.h"
#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "playback/MainWindowState.h"
#include "playback/PlaybackState.h"
#include "tests/e2e/LinkSeams.h"
#include "tests/e2e/ProgramSession.h"

namespace e2e {
namespace {

TEST(StartupFault, AudioOutputThatCannotOpenIsReportedAndTheWindowStillWorks) {
  ProgramSession session({.audioDriver = "no-such-driver"});
  ASSERT_TRUE(session.windowCreated());
  const auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Can't initialize device");
  EXPECT_EQ(boxes[0].caption, L"");
  EXPECT_EQ(boxes[0].type, MB_OK);
  EXPECT_EQ(boxes[0].owner, mainWindow);

  // Nothing learnt the application folder, so no data file is found.
  EXPECT_EQ(std::wstring(applicationFolder), L"");
  EXPECT_EQ(std::wstring(webClient.folder), L"");
  EXPECT_EQ(coverImagePath.Get(), L"");
  EXPECT_EQ(session.RowCount(ID_GENRE_LIST), 0);
  ShowWindow(session.Control(ID_BACK), SW_SHOW);
  headless::RunUntilIdle();
  const RECT back = session.Placement(ID_BACK);
  EXPECT_EQ(headless::Pixel(back.left + back.right / 2, back.top + back.bottom / 2), RGB(0, 0, 0));
  session.Screenshot("fault-no-audio");

  // The window works: the status line still closes it.
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"Ready");
  session.TapControl(ID_STATUS_LINE);
  EXPECT_FALSE(IsWindow(mainWindow));
}

class VersionWord : public ::testing::TestWithParam<DWORD> {};

TEST_P(VersionWord, OtherMajorOrMinorVersionIsRefusedWithExitCodeZero) {
  ProgramSession session({.createWindow = false});
  seams::SetVersionWord(GetParam());
  EXPECT_EQ(WinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW), 0);
  const auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"An incorrect version of BASS.DLL was loaded");
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(boxes[0].type & MB_ICONMASK, MB_ICONERROR);
  // The window was made first and is left to end with the process.
  EXPECT_TRUE(IsWindow(mainWindow));
}

INSTANTIATE_TEST_SUITE_P(StartupFault, VersionWord,
                         ::testing::Values(0x02030000u, 0x03000000u, 0x00000204u),
                         [](const ::testing::TestParamInfo<DWORD>& info) {
                           char name[16];
                           std::snprintf(name, sizeof name, "Word%08X", info.param);
                           return std::string(name);
                         });

TEST(StartupFault, AnyLowWordOfVersionTwoFourPasses) {
  ProgramSession session({.createWindow = false});
  seams::SetVersionWord(0x0204FFFF);
  // A quit already waiting ends the message loop at once, with its code.
  PostQuitMessage(7);
  EXPECT_EQ(WinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW), 7);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

}  // namespace
}  // namespace e2e
