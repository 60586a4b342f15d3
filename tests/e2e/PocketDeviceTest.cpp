// The whole program on a private system bus where this process plays logind and
// NetworkManager: no sleep while a stream plays, and the reconnect led by the network's state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "audio/AudioLibrary.h"
#include "audio/Output.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "platform/MediaPlayerBus.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerService.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/SoundMeasure.h"
#include "tests/support/SystemBusServices.h"
#include "tests/support/TempDir.h"

namespace e2e {
namespace {

constexpr int shortStationRow = 1;

audio::StreamNaming naming;
void RecordNaming(const audio::StreamNaming& opened) {
  naming = opened;
}

class PocketDevice : public ::testing::Test {
 protected:
  // A 440 Hz tone of 30 s for the live station and of 3 s for the one that ends.
  static void SetUpTestSuite() {
    tones_ = new fixture::TempDir;
    for (const char* seconds : {"30", "3"}) {
      const std::string command =
          std::string(
              "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:duration=") +
          seconds + " -ac 2 -c:a libmp3lame -b:a 128k '" +
          tones_->File(seconds + std::string(".mp3")) + "'";
      ASSERT_EQ(std::system(command.c_str()), 0);
    }
  }
  static void TearDownTestSuite() { delete tones_; }

  // Without a system bus the program plays as before: every other session shows that.
  explicit PocketDevice(const fixture::SystemServices::Options& services = kEverything)
      : services_(services) {
    const int port = session_.directory().port();
    http::MapHost("tone.stream.test", 80, "127.0.0.1", port);
    http::MapHost("short.stream.test", 80, "127.0.0.1", port);
    session_.directory().AddRoute(Tone());
    session_.directory().AddRoute({.path = "/short.mp3",
                                   .headers = {{"Content-Type", "audio/mpeg"}},
                                   .bodyFile = tones_->File("3.mp3")});
  }

  // The 30 s tone as a live stream; cut off after `dropAfter` bytes unless -1.
  static fixture::Route Tone(long long dropAfter = -1) {
    return {.path = "/tone.mp3",
            .headers = {{"Content-Type", "audio/mpeg"}},
            .bodyFile = tones_->File("30.mp3"),
            .contentLength = false,
            .dropAfter = dropAfter};
  }

  void TapStation(int row) {
    if (screenState.load() != StationScreen) {
      session_.TapRow(ID_GENRE_LIST, toneGenreRow);
    }
    session_.TapRow(ID_STATION_LIST, row);
  }

  bool Until(const std::function<bool()>& condition, std::chrono::milliseconds limit = 20s) {
    return headless::RunUntil(condition, limit);
  }
  bool Locks(int open) {
    return Until([&] { return services_.OpenLocks() == open; });
  }
  std::size_t Tries() { return session_.directory().CountRequests("/tone.mp3"); }
  // The last half second of what the sound device was given is the tone.
  bool Sounding() {
    const sound::Recording r = sound::ReadDiskAudio(session_.soundFile());
    return r.frames() > 22050 && sound::Level(r, {r.frames() - 22050, 22050}) > 1000.0;
  }

  // A live station plays; it drops and is away (404) from then on.
  void PlayUntilTheStationDrops() {
    session_.directory().AddRoute(Tone(64 * 1024));
    TapStation(toneStationRow);
    ASSERT_TRUE(Until([&] { return Sounding(); })) << session_.StatusHistoryText();
    session_.directory().AddRoute({.path = "/tone.mp3", .status = 404, .body = "away"});
    ASSERT_TRUE(Until([] {
      return BASS_StreamGetFilePosition(currentStream.load(), BASS_FILEPOS_CONNECTED) == 0;
    }));
  }

  static constexpr fixture::SystemServices::Options kEverything{};
  static fixture::TempDir* tones_;
  fixture::SystemBus bus_;
  fixture::SystemServices services_;
  ProgramSession session_;
};

fixture::TempDir* PocketDevice::tones_ = nullptr;

TEST_F(PocketDevice, SleepLockIsHeldFromTheFirstSoundUntilNothingPlaysAndNeverTwice) {
  audio::Output::ObserveOpening(RecordNaming);
  // A station that cannot be reached never plays: no lock.
  TapStation(nowhereStationRow);
  ASSERT_TRUE(session_.WaitForStatus(L"not playing"));
  ASSERT_TRUE(session_.WaitForTuneInEnd());
  EXPECT_TRUE(services_.InhibitCalls().empty());

  TapStation(toneStationRow);
  ASSERT_TRUE(Locks(1)) << session_.StatusHistoryText();
  const fixture::InhibitCall call = services_.InhibitCalls().at(0);
  EXPECT_EQ(call.what, "sleep");
  EXPECT_EQ(call.who, "tunedeck");
  EXPECT_EQ(call.why, "Playing a radio station");
  EXPECT_EQ(call.mode, "block");
  // The sound stream as the sound server is told of it.
  EXPECT_EQ(naming.applicationName, "tunedeck");
  EXPECT_EQ(naming.role, "music");

  // Stopped by the shell's player controls.
  PostMessageW(mainWindow, WM_PLAYER_REQUEST, static_cast<WPARAM>(mpris::Request::Stop), 0);
  EXPECT_TRUE(Locks(0));
  ASSERT_TRUE(session_.WaitForTuneInEnd());

  // Another station, which ends by itself.
  TapStation(toneStationRow);
  ASSERT_TRUE(Locks(1));
  ASSERT_TRUE(session_.WaitForTuneInEnd());
  TapStation(shortStationRow);
  ASSERT_TRUE(Until([&] { return services_.InhibitCalls().size() == 3; }));
  EXPECT_TRUE(session_.WaitForStatus(L"not playing", 20s)) << session_.StatusHistoryText();
  EXPECT_TRUE(Locks(0));

  // The program closes while a station plays.
  TapStation(toneStationRow);
  ASSERT_TRUE(Locks(1));
  SendMessageW(mainWindow, WM_CLOSE, 0, 0);
  headless::RunUntilIdle();
  EXPECT_EQ(services_.OpenLocks(), 0);
  EXPECT_EQ(services_.InhibitCalls().size(), 4u);
  EXPECT_EQ(services_.MostOpenAtOnce(), 1);
}

TEST_F(PocketDevice, NoTriesWhileTheNetworkIsDownAndATryAtOnceWhenItIsBack) {
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT, 4000);  // shorter than the time without network
  ASSERT_NO_FATAL_FAILURE(PlayUntilTheStationDrops());
  services_.SetNetwork(fixture::NM_STATE_DISCONNECTED, fixture::NM_CONNECTIVITY_NONE);
  headless::RunFor(1s);  // a try under way ends
  const std::size_t tries = Tries();
  headless::RunFor(8s);  // the backoff would have tried at least three times
  EXPECT_EQ(Tries(), tries);
  const auto& history = session_.statusHistory();
  EXPECT_EQ(std::count(history.begin(), history.end(), L"not playing"), 0)
      << session_.StatusHistoryText();

  session_.directory().AddRoute(Tone());
  services_.SetNetwork(fixture::NM_STATE_CONNECTED_GLOBAL, fixture::NM_CONNECTIVITY_FULL);
  EXPECT_TRUE(Until([&] { return Tries() == tries + 1; }, 3s));
  EXPECT_TRUE(Until([&] { return Sounding(); }, 10s)) << session_.StatusHistoryText();
}

TEST_F(PocketDevice, NetworkThatComesBackCutsTheBackoffShort) {
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT, 60000);
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT_UNIT, 500);
  ASSERT_NO_FATAL_FAILURE(PlayUntilTheStationDrops());
  // Four more refusals (at once, or after 0.5, 1.5, 3.5 and 7.5 s): the next try is 4 s away or
  // more.
  const std::size_t refused = Tries();
  ASSERT_TRUE(Until([&] { return Tries() >= refused + 4; }, 20s));
  session_.directory().AddRoute(Tone());
  services_.SetNetwork(fixture::NM_STATE_DISCONNECTED, fixture::NM_CONNECTIVITY_NONE);
  services_.SetNetwork(fixture::NM_STATE_CONNECTED_SITE, fixture::NM_CONNECTIVITY_FULL);
  EXPECT_TRUE(Until([&] { return Tries() >= 6; }, 3s));
  EXPECT_TRUE(Until([&] { return Sounding(); }, 10s)) << session_.StatusHistoryText();
}

class NoNetworkManager : public PocketDevice {
 protected:
  static constexpr fixture::SystemServices::Options kLogindOnly{.networkManager = false};
  NoNetworkManager() : PocketDevice(kLogindOnly) {}
};

TEST_F(NoNetworkManager, BackoffRunsAsBefore) {
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT, 60000);
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT_UNIT, 250);
  ASSERT_NO_FATAL_FAILURE(PlayUntilTheStationDrops());
  EXPECT_TRUE(Until([&] { return Tries() >= 4; }, 15s));
}

}  // namespace
}  // namespace e2e
