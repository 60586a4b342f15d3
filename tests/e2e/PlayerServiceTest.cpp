#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "directory/ServiceHosts.h"
#include "directory/WebClient.h"
#include "platform/HeadlessScreen.h"
#include "platform/HttpClient.h"
#include "shell/ControlIds.h"
#include "tests/e2e/LogoInternet.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/support/Icecast.h"
#include "tests/support/SessionBus.h"
#include "tests/support/SoundMeasure.h"

namespace e2e {
namespace {

// The program on a private session bus, read and driven by a client as a desktop's player
// controls would, with a station on a real streaming server and covers from the fixture.
class PlayerService : public ::testing::Test {
 protected:
  void SetUp() override {
    icecast_.StartMp3Tone("/tone.mp3", 440, 120, "Tone 440");
    http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast_.port());
    session_.directory().AddRoute(
        {.path = "/2.0/", .bodyFile = fixture::FixturePath("playback/track-with-album.xml")});
    session_.directory().AddRoute(
        {.path = "/126/believe.jpg", .bodyFile = fixture::FixturePath("e2e/album-cover.jpg")});
    http::MapHost(kTrackInfoHost, kServicePort, "127.0.0.1", session_.directory().port());
    http::MapHost("covers.example", 80, "127.0.0.1", session_.directory().port());
    ASSERT_TRUE(headless::RunUntil([this] { return player_.Present(); }, 10s));
  }

  // Runs the program until a PropertiesChanged after the first `skip` ones satisfies `done`.
  bool WaitForChange(const std::function<bool(const fixture::PlayerChange&)>& done,
                     std::size_t skip = 0, std::chrono::milliseconds limit = 20s) {
    return headless::RunUntil(
        [&] {
          player_.Process();
          const auto& changes = player_.changes();
          return std::any_of(changes.begin() + std::min(skip, changes.size()), changes.end(), done);
        },
        limit);
  }
  static std::function<bool(const fixture::PlayerChange&)> Status(const std::string& status) {
    return [status](const fixture::PlayerChange& c) { return c.playbackStatus == status; };
  }
  static std::function<bool(const fixture::PlayerChange&)> TitleWithCover(
      const std::string& title, const std::string& notThisCover) {
    return [=](const fixture::PlayerChange& c) {
      if (!c.metadata) {
        return false;
      }
      fixture::Metadata metadata = *c.metadata;
      return metadata["xesam:title"] == title && !metadata["mpris:artUrl"].empty() &&
             metadata["mpris:artUrl"] != notThisCover;
    };
  }

  fixture::SessionBus bus_;
  fixture::Icecast icecast_;
  ProgramSession session_;
  fixture::PlayerClient player_{"tunedeck"};
};

TEST_F(PlayerService, SessionSeesWhatPlaysAndPlayPauseStopsAndRestartsTheSound) {
  EXPECT_EQ(player_.String("", "Identity"), "tunedeck");
  EXPECT_EQ(player_.String("", "DesktopEntry"), "tunedeck");
  const struct {
    const char* interface;
    const char* property;
    bool value;
  } abilities[] = {{"", "CanQuit", true},          {"", "CanRaise", true},
                   {"Player", "CanPlay", true},    {"Player", "CanPause", true},
                   {"Player", "CanControl", true}, {"Player", "CanSeek", false},
                   {"Player", "CanGoNext", false}, {"Player", "CanGoPrevious", false}};
  for (const auto& ability : abilities) {
    EXPECT_EQ(player_.Bool(ability.interface, ability.property), ability.value) << ability.property;
  }
  EXPECT_EQ(player_.String("Player", "PlaybackStatus"), "Stopped");

  session_.TapRow(ID_GENRE_LIST, toneGenreRow);
  session_.TapRow(ID_STATION_LIST, toneStationRow);
  ASSERT_TRUE(WaitForChange(Status("Playing"))) << session_.StatusHistoryText();

  // Each title, and the cover that follows it under a new file name.
  icecast_.SetTitle("/tone.mp3", "Cher - Believe");
  ASSERT_TRUE(WaitForChange(TitleWithCover("Believe", ""))) << session_.StatusHistoryText();
  fixture::Metadata metadata = player_.ReadMetadata();
  EXPECT_EQ(metadata["xesam:artist"], "Cher");
  EXPECT_EQ(metadata["xesam:album"], "Tone 440");
  EXPECT_NE(metadata["mpris:trackid"].find("/org/mpris/MediaPlayer2/"), std::string::npos);
  const std::string firstCover = metadata["mpris:artUrl"];
  ASSERT_EQ(firstCover.rfind("file://" + session_.folder(), 0), 0u) << firstCover;
  EXPECT_TRUE(std::filesystem::exists(firstCover.substr(7)));
  icecast_.SetTitle("/tone.mp3", "Cher - Strong Enough");
  ASSERT_TRUE(WaitForChange(TitleWithCover("Strong Enough", firstCover)))
      << session_.StatusHistoryText();
  EXPECT_NE(player_.ReadMetadata()["mpris:trackid"], metadata["mpris:trackid"]);

  // PlayPause stops the sound and starts the station again.
  std::size_t seen = player_.changes().size();
  ASSERT_TRUE(player_.Call("Player", "PlayPause"));
  ASSERT_TRUE(WaitForChange(Status("Stopped"), seen));
  EXPECT_TRUE(session_.WaitForStatus(L"not playing"));
  headless::RunFor(300ms);
  const std::size_t stopped = sound::ReadDiskAudio(session_.soundFile()).frames();
  headless::RunFor(1s);
  // Stopped, nothing plays: the sound device sleeps and is given nothing more.
  EXPECT_EQ(sound::ReadDiskAudio(session_.soundFile()).frames(), stopped);

  seen = player_.changes().size();
  ASSERT_TRUE(player_.Call("Player", "PlayPause"));
  ASSERT_TRUE(WaitForChange(Status("Playing"), seen)) << session_.StatusHistoryText();
  headless::RunFor(2s);
  const sound::Recording sound = sound::ReadDiskAudio(session_.soundFile());
  const sound::Span lastHalfSecond{sound.frames() - 22050, 22050};
  EXPECT_GT(sound::Level(sound, lastHalfSecond), 1000.0) << "the station did not play again";
  EXPECT_NEAR(sound::FrequencyHz(sound, lastHalfSecond), 440.0, 2.0);
}

TEST_F(PlayerService, ArtIsTheStationsLogoUntilATitleHasACover) {
  LogoInternet internet;
  internet.Reach();
  session_.TapRow(ID_GENRE_LIST, 1);  // Ambient: the open directory's stations with logos
  ASSERT_TRUE(headless::RunUntil([] { return !webClient.logos.Fetching(); }, 60s));
  const std::string logo =
      "file://" + session_.folder() + "logos/5a1e0c00-6b7d-4c8e-9fa0-1b2c3d4e5f00";
  const auto artIs = [](const std::string& art) {
    return [art](const fixture::PlayerChange& c) {
      return c.metadata && fixture::Metadata(*c.metadata)["mpris:artUrl"] == art;
    };
  };
  session_.TapRow(ID_STATION_LIST, 0);
  ASSERT_TRUE(WaitForChange(artIs(logo))) << session_.StatusHistoryText();
  icecast_.SetTitle("/tone.mp3", "Cher - Believe");
  ASSERT_TRUE(WaitForChange(TitleWithCover("Believe", logo))) << session_.StatusHistoryText();
}

}  // namespace
}  // namespace e2e
