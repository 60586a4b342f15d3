#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "app/MainWindow.h"
#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "platform/Utf8.h"
#include "playback/PlaybackState.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "tests/e2e/LinkSeams.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/Icecast.h"
#include "tests/support/SoundMeasure.h"

namespace e2e {
namespace {

TEST(StartupFault, NoSoundDeviceIsReportedAndAStationPlaysOnceOneAppears) {
  fixture::Icecast icecast;
  icecast.StartMp3Tone("/tone.mp3", 440, 60, "Tone 440");
  http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast.port());
  ProgramSession session({.audioDriver = "no-such-driver"});
  ASSERT_TRUE(session.windowCreated());
  const auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"Can't initialize device");
  EXPECT_EQ(boxes[0].caption, L"");
  EXPECT_EQ(boxes[0].type, MB_OK);
  EXPECT_EQ(boxes[0].owner, mainWindow);
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"Ready");

  // The application folder is known all the same: the genres and the images are there.
  EXPECT_EQ(WideToUtf8(applicationFolder), session.folder());
  EXPECT_EQ(WideToUtf8(webClient.folder), session.folder());
  EXPECT_EQ(WideToUtf8(coverImagePath.Get()), session.folder() + "folder.jpg");
  EXPECT_GT(session.RowCount(ID_GENRE_LIST), toneGenreRow);
  ShowWindow(session.Control(ID_BACK), SW_SHOW);
  headless::RunUntilIdle();
  const RECT back = session.Placement(ID_BACK);
  EXPECT_NE(headless::Pixel(back.left + back.right / 2, back.top + back.bottom / 2), RGB(0, 0, 0));
  session.Screenshot("fault-no-audio");
  ShowWindow(session.Control(ID_BACK), SW_HIDE);

  // A station tap tries the device again: still none, then one that has appeared.
  session.TapRow(ID_GENRE_LIST, toneGenreRow);
  session.TapRow(ID_STATION_LIST, toneStationRow);
  ASSERT_TRUE(session.WaitForTuneInEnd());
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"not playing");
  setenv("SDL_AUDIODRIVER", "disk", 1);
  session.TapRow(ID_STATION_LIST, toneStationRow);
  ASSERT_TRUE(session.WaitForStatus(
      [](const std::wstring& status) { return status.find(L"Tone 440") != std::wstring::npos; },
      15s))
      << session.StatusHistoryText();
  ASSERT_TRUE(session.RunUntilSoundFor(1s));
  const sound::Recording sound = sound::ReadDiskAudio(session.soundFile());
  const std::size_t first = sound::FirstSound(sound);
  ASSERT_LT(first + 22050, sound.frames()) << "less than half a second of sound was played";
  EXPECT_NEAR(sound::FrequencyHz(sound, {first + 4410, 11025}), 440.0, 2.0);
}

TEST(StartupFault, NoSoundDeviceIsToldOnTheStatusLineWhenNoBoxCanBeShown) {
  // A box the display could not show answers 0.
  headless::AnswerMessageBoxes(0);
  ProgramSession session({.audioDriver = "no-such-driver"});
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(session.Text(ID_STATUS_LINE), L"Can't initialize device");
  EXPECT_GT(session.RowCount(ID_GENRE_LIST), 0);
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
