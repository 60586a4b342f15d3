// The engine against a real Icecast server fed by ffmpeg: MP3 and AAC tones with titles changed
// through the admin interface, chained Ogg songs in Vorbis and Opus, a source that ends.
#include "tests/audio/common/EngineSession.h"
#include "tests/audio/common/Wide.h"
#include "tests/support/Icecast.h"

#include <gtest/gtest.h>

#include <strings.h>

#include <cstdio>
#include <thread>

namespace enginetest {
namespace {

using namespace std::chrono_literals;

fixture::Icecast& SharedIcecast() {
  static fixture::Icecast icecast;
  return icecast;
}

struct HeaderCalls {
  std::mutex lock;
  std::vector<std::vector<std::string>> blocks;  // one per call with length 0
  int endCalls = 0;
};

void CALLBACK CollectHeaders(const void* buffer, DWORD length, void* user) {
  auto& calls = *static_cast<HeaderCalls*>(user);
  std::lock_guard<std::mutex> hold(calls.lock);
  if (buffer == nullptr) {
    ++calls.endCalls;
  } else if (length == 0) {
    calls.blocks.push_back(TagLines(static_cast<const char*>(buffer)));
  }
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& line : lines) {
    if (strncasecmp(line.c_str(), prefix.c_str(), prefix.size()) == 0) {
      return true;
    }
  }
  return false;
}

// A live source is only a little ahead of its listeners at first; give it a lead as a real
// station has, so that playback in real time does not run dry.
void LetSourceGetAhead() {
  std::this_thread::sleep_for(2s);
}

HSTREAM Open(const std::string& url, DOWNLOADPROC* proc = nullptr, void* user = nullptr) {
  std::wstring wide = Wide(url);
  return BASS_StreamCreateURL(wide.c_str(), 0, kProgramFlags, proc, user);
}

// The tone sources a station may run, by the mount's suffix.
struct ToneSource {
  const char* suffix;
  int kbps;
  void (fixture::Icecast::*start)(const std::string&, int, int, const std::string&);
};

class IcecastTone : public ::testing::TestWithParam<ToneSource> {
 protected:
  std::string Mount(const std::string& name) const { return "/" + name + GetParam().suffix; }
  void Start(const std::string& mount, int seconds, const std::string& name) {
    (SharedIcecast().*GetParam().start)(mount, 440, seconds, name);
  }
};

INSTANTIATE_TEST_SUITE_P(Codecs, IcecastTone,
                         ::testing::Values(ToneSource{".mp3", 128, &fixture::Icecast::StartMp3Tone},
                                           ToneSource{".aac", 96, &fixture::Icecast::StartAacTone}),
                         [](const auto& info) { return std::string(info.param.suffix + 1); });

// Plays three chained songs (440 Hz Alpha, 880 Hz Beta, 660 Hz Gamma) to their end: each
// change is announced with its comments when its audio plays.
void ExpectSongsHeardWithTheirComments(const std::string& mount) {
  fixture::Icecast& icecast = SharedIcecast();
  EngineSession session(true);
  HSTREAM stream = Open(icecast.Url(mount));
  ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
  EXPECT_EQ(BASS_ChannelGetTags(stream, BASS_TAG_META), nullptr);
  ASSERT_TRUE(WaitFor([&] { return BASS_ChannelGetTags(stream, BASS_TAG_OGG) != nullptr; }, 5s));
  EXPECT_TRUE(HasLineStarting(TagLines(BASS_ChannelGetTags(stream, BASS_TAG_OGG)), "artist=Alpha"));

  // Icecast gives a new Ogg listener little of the past: let 1.5 s of the live stream
  // collect before playing, as a real player's buffering would.
  std::this_thread::sleep_for(1500ms);
  SyncLog chains(BASS_TAG_OGG);
  SyncLog ends(BASS_TAG_OGG);
  BASS_ChannelSetSync(stream, BASS_SYNC_OGG_CHANGE, 0, SyncLog::Record, &chains);
  BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, SyncLog::Record, &ends);
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(WaitFor([&] { return ends.Count() > 0; }, 30s));

  std::vector<SyncLog::Call> calls = chains.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_NE(calls[0].tag.find("=Beta\n"), std::string::npos) << calls[0].tag;
  EXPECT_NE(calls[1].tag.find("=Gamma\n"), std::string::npos) << calls[1].tag;
  sound::Recording r = session.Recorded();
  const std::size_t change = session.HeardFramesAt(calls[0].when);
  EXPECT_NEAR(sound::FrequencyHz(r, {change - 44100, 44100 * 8 / 10}), 440.0, 2.0);
  EXPECT_NEAR(sound::FrequencyHz(r, {change + 44100 / 5, 44100 * 8 / 10}), 880.0, 2.0);
  const std::size_t third = session.HeardFramesAt(calls[1].when);
  EXPECT_NEAR(sound::FrequencyHz(r, {third + 44100 / 5, 44100}), 660.0, 2.0);
}

TEST_P(IcecastTone, ToneIsHeardAt440HzWithItsHeadersAndBufferPositions) {
  fixture::Icecast& icecast = SharedIcecast();
  const std::string mount = Mount("tone");
  Start(mount, 60, "Tone 440");
  LetSourceGetAhead();
  EngineSession session(true);
  HeaderCalls headers;
  HSTREAM stream = Open(icecast.Url(mount), CollectHeaders, &headers);
  ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();

  {
    std::lock_guard<std::mutex> hold(headers.lock);
    ASSERT_EQ(headers.blocks.size(), 1u);
    ASSERT_FALSE(headers.blocks[0].empty());
    EXPECT_EQ(headers.blocks[0][0], "HTTP/1.0 200 OK");
    EXPECT_TRUE(HasLineStarting(headers.blocks[0], "icy-name:Tone 440"));
    EXPECT_TRUE(HasLineStarting(headers.blocks[0], "icy-metaint:"));
  }
  EXPECT_EQ(BASS_ChannelGetTags(stream, BASS_TAG_ICY), nullptr);
  EXPECT_TRUE(HasLineStarting(TagLines(BASS_ChannelGetTags(stream, BASS_TAG_HTTP)), "icy-name:"));

  // Buffering: the fill rises towards the buffer's size while the connection is open.
  const QWORD size = BASS_StreamGetFilePosition(stream, BASS_FILEPOS_END);
  EXPECT_GE(size, 16u * 1024);
  EXPECT_LE(size, 1024u * 1024);
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_CONNECTED), 1u);
  // (A loaded machine may read it first when the server's burst has filled it already.)
  QWORD first = BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER);
  EXPECT_TRUE(
      first == size ||
      WaitFor([&] { return BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER) > first; }, 5s));
  EXPECT_LE(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER), size);
  EXPECT_EQ(BASS_StreamGetFilePosition(stream, 99), static_cast<QWORD>(-1));

  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(WaitFor(
      [&] {
        sound::Recording r = session.Recorded();
        return r.frames() > sound::FirstSound(r) + 3 * 44100;
      },
      20s));
  sound::Recording r = session.Recorded();
  std::size_t start = sound::FirstSound(r);
  sound::Span steady{start + 44100 / 2, 2 * 44100};
  EXPECT_NEAR(sound::FrequencyHz(r, steady), 440.0, 2.0);
  EXPECT_GT(sound::Level(r, steady), 1000.0);
  // Once playing, no gap: no run of 20 ms without signal (the tone's half period is ~1.1 ms).
  EXPECT_TRUE(sound::Silences(r, {start, 3 * 44100}, 44100 / 50).empty());
  // While playing, the buffer still reports its fill within its size.
  EXPECT_LE(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER), size);
  EXPECT_TRUE(BASS_StreamFree(stream));
}

TEST_P(IcecastTone, TitleChangeIsAnnouncedWhenItsAudioIsPlayed) {
  fixture::Icecast& icecast = SharedIcecast();
  const std::string mount = Mount("titles");
  Start(mount, 60, "Titles");
  icecast.SetTitle(mount, "First Artist - First Song");
  LetSourceGetAhead();
  EngineSession session(true);
  HSTREAM stream = Open(icecast.Url(mount));
  ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
  ASSERT_TRUE(WaitFor([&] { return BASS_ChannelGetTags(stream, BASS_TAG_META) != nullptr; }, 5s));
  EXPECT_STREQ(BASS_ChannelGetTags(stream, BASS_TAG_META),
               "StreamTitle='First Artist - First Song';");

  SyncLog metas(BASS_TAG_META);
  ASSERT_NE(BASS_ChannelSetSync(stream, BASS_SYNC_META, 0, SyncLog::Record, &metas), 0u);
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  std::this_thread::sleep_for(1500ms);

  // Everything buffered now plays before the new title's audio: about this long.
  const double bytesPerSecond = GetParam().kbps * 1000 / 8.0;
  const double ahead =
      static_cast<double>(BASS_StreamGetFilePosition(stream, BASS_FILEPOS_BUFFER)) /
          bytesPerSecond +
      0.5;
  const auto changed = std::chrono::steady_clock::now();
  icecast.SetTitle(mount, "Second Artist - Second Song");
  ASSERT_TRUE(WaitFor([&] { return metas.Count() > 0; }, 20s));
  std::vector<SyncLog::Call> calls = metas.Calls();
  ASSERT_EQ(calls.size(), 1u);  // the first title was already known before playback
  EXPECT_EQ(calls[0].channel, stream);
  EXPECT_EQ(calls[0].tag, "StreamTitle='Second Artist - Second Song';");
  const double waited = std::chrono::duration<double>(calls[0].when - changed).count();
  EXPECT_GT(waited, ahead - 1.0) << "announced before its audio, " << ahead << " s ahead";
  EXPECT_LT(waited, ahead + 3.0);
  EXPECT_STREQ(BASS_ChannelGetTags(stream, BASS_TAG_META),
               "StreamTitle='Second Artist - Second Song';");
}

TEST(IcecastStream, ChainedOggSongsChangeCommentsRateAndChannelsWithTheirAudio) {
  fixture::Icecast& icecast = SharedIcecast();
  icecast.StartOggSongs("/songs.ogg", {{"Alpha", "One", 440, 3.0, 44100, 2},
                                       {"Beta", "Two", 880, 3.0, 22050, 1},
                                       {"Gamma", "Three", 660, 1.5, 48000, 2}});
  ASSERT_NO_FATAL_FAILURE(ExpectSongsHeardWithTheirComments("/songs.ogg"));
}

TEST(IcecastStream, OggChainSwitchesBetweenVorbisAndOpusWithTheirAudio) {
  fixture::Icecast& icecast = SharedIcecast();
  icecast.StartOggSongs("/mixed.ogg", {{"Alpha", "One", 440, 3.0, 44100, 2, false},
                                       {"Beta", "Two", 880, 3.0, 48000, 1, true},
                                       {"Gamma", "Three", 660, 1.5, 22050, 2, false}});
  ASSERT_NO_FATAL_FAILURE(ExpectSongsHeardWithTheirComments("/mixed.ogg"));
}

TEST(IcecastStream, EndComesAfterTheSourceStopsAndFreesTheStream) {
  fixture::Icecast& icecast = SharedIcecast();
  icecast.StartMp3Tone("/short.mp3", 440, 3, "Short");
  EngineSession session(false);
  HeaderCalls downloads;
  HSTREAM stream = Open(icecast.Url("/short.mp3"), CollectHeaders, &downloads);
  ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
  SyncLog ends(BASS_TAG_META);
  BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, SyncLog::Record, &ends);
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
  ASSERT_TRUE(WaitFor([&] { return ends.Count() > 0; }, 20s));
  EXPECT_EQ(ends.Count(), 1u);
  EXPECT_TRUE(WaitFor(
      [&] {
        return BASS_StreamGetFilePosition(stream, BASS_FILEPOS_CONNECTED) == static_cast<QWORD>(-1);
      },
      2s));
  EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
  EXPECT_FALSE(BASS_StreamFree(stream));  // already freed: ignored
  {
    std::lock_guard<std::mutex> hold(downloads.lock);
    EXPECT_EQ(downloads.endCalls, 1);
  }
  sound::Recording r = session.Recorded();
  EXPECT_GT(r.frames() - sound::FirstSound(r), 44100u);
}

}  // namespace
}  // namespace enginetest

namespace enginetest {
namespace {

TEST(IcecastStream, SourceThatStopsAndStartsAgainIsHeardAgainWithItsTitles) {
  fixture::Icecast& icecast = SharedIcecast();
  icecast.StartMp3Tone("/back.mp3", 440, 5, "Back");
  LetSourceGetAhead();
  EngineSession session(true);
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT, 60000);
  BASS_SetConfig(BASS_CONFIG_NET_RECONNECT_UNIT, 250);  // tries at once, after 0.25, 0.75 s ...
  HSTREAM stream = Open(icecast.Url("/back.mp3"));
  ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
  SyncLog titles(BASS_TAG_META);
  BASS_ChannelSetSync(stream, BASS_SYNC_META, 0, SyncLog::Record, &titles);
  SyncLog ends(BASS_TAG_META);
  BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, SyncLog::Record, &ends);
  ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));

  // The source ends: Icecast drops its listeners and answers 404 until a source is back.
  ASSERT_TRUE(WaitFor(
      [&] { return BASS_StreamGetFilePosition(stream, BASS_FILEPOS_CONNECTED) == 0; }, 20s));
  const std::size_t framesAtDrop = session.Recorded().frames();
  icecast.StartMp3Tone("/back.mp3", 440, 60, "Back");
  ASSERT_TRUE(WaitFor(
      [&] { return BASS_StreamGetFilePosition(stream, BASS_FILEPOS_CONNECTED) == 1; }, 30s));
  icecast.SetTitle("/back.mp3", "After - Drop");
  EXPECT_TRUE(WaitFor(
      [&] {
        auto calls = titles.Calls();
        return !calls.empty() && calls.back().tag == "StreamTitle='After - Drop';";
      },
      20s));
  EXPECT_EQ(ends.Count(), 0u);
  EXPECT_TRUE(BASS_StreamFree(stream));

  sound::Recording r = session.Recorded();
  const std::size_t end = sound::EndOfSound(r);
  ASSERT_GT(end, framesAtDrop + 44100);
  EXPECT_NEAR(sound::FrequencyHz(r, {end - 44100, 44100}), 440, 5);
  double silent = 0;
  for (const sound::Gap& gap : sound::Silences(r, {framesAtDrop, end - framesAtDrop}, 1025)) {
    silent += r.Seconds(gap.count);
  }
  std::printf("Icecast source away and back: silent for %.2f s\n", silent);
}

}  // namespace
}  // namespace enginetest
