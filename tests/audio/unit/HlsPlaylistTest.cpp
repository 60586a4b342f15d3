#include "audio/HlsPlaylist.h"
#include "audio/HlsSchedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace audio {
namespace {

using namespace std::chrono_literals;

constexpr char kMedia[] =
    "#EXTM3U\n#EXT-X-TARGETDURATION:6\n#EXT-X-MEDIA-SEQUENCE:7\n"
    "#EXTINF:6.0,\na.ts\n#EXT-X-DISCONTINUITY\n#EXTINF:5.5,\n../b.ts\n"
    "#EXTINF:6,\nhttps://cdn.example/c.ts\n";

TEST(HlsPlaylist, ToldFromPlainM3uByTypeAndTagsOrByBody) {
  struct Case {
    const char* type;
    const char* body;
    bool hls;
  };
  for (const Case& c : {
           Case{"application/vnd.apple.mpegurl", "#EXTM3U\n#EXT-X-VERSION:3\n", true},
           Case{"audio/mpegurl; charset=utf-8", "#EXTM3U\n#EXT-X-TARGETDURATION:2\n", true},
           Case{"text/plain", "#EXTM3U\n#EXT-X-TARGETDURATION:2\n", true},
           Case{"", "\xEF\xBB\xBF#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1\nx.m3u8\n", true},
           Case{"audio/x-mpegurl", "#EXTM3U\n#EXTINF:-1,Radio\nhttp://r/live.mp3\n", false},
           Case{"application/x-mpegurl", "http://r/live.mp3\n", false},
           Case{"text/plain", "#EXT-X-TARGETDURATION:2\n", false},
       }) {
    EXPECT_EQ(IsHlsPlaylist(c.type, c.body), c.hls) << c.type << " " << c.body;
  }
}

TEST(HlsPlaylist, VariantIsTheRichestUpTo160kOrElseTheLeanestOfThoseWeDecode) {
  struct Case {
    std::vector<HlsVariant> variants;
    std::string chosen;  // empty: none
  };
  const auto v = [](const char* url, std::uint64_t bandwidth, const char* codecs = "") {
    return HlsVariant{url, bandwidth, codecs};
  };
  for (const Case& c : {
           Case{{v("48", 48000), v("128", 128000), v("320", 320000)}, "128"},
           Case{{v("160", 160000), v("161", 160001)}, "160"},
           Case{{v("320", 320000), v("256", 256000)}, "256"},
           Case{{v("video", 96000, "avc1.4d401f,mp4a.40.2"), v("he", 64000, "mp4a.40.5")}, "he"},
           Case{{v("flac", 96000, "fLaC"), v("mp3", 192000, "mp4a.40.34")}, "mp3"},
           Case{{v("ac3", 96000, "ac-3")}, ""},
       }) {
    const std::optional<HlsVariant> chosen = ChooseVariant(c.variants);
    EXPECT_EQ(chosen ? chosen->url : "", c.chosen);
  }
}

TEST(HlsPlaylist, MasterAndMediaAddressesResolveAgainstTheListsOwn) {
  const std::vector<HlsVariant> variants = ParseMasterPlaylist(
      "#EXTM3U\n#EXT-X-STREAM-INF:CODECS=\"mp4a.40.2,mp4a.40.5\",BANDWIDTH=64000\nlow/l.m3u8\n",
      "http://h/radio/master.m3u8");
  ASSERT_EQ(variants.size(), 1u);
  EXPECT_EQ(variants[0].url, "http://h/radio/low/l.m3u8");
  EXPECT_EQ(variants[0].bandwidth, 64000u);
  EXPECT_EQ(variants[0].codecs, "mp4a.40.2,mp4a.40.5");

  const std::optional<MediaPlaylist> list = ParseMediaPlaylist(kMedia, "http://h/radio/x/l.m3u8");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->targetSeconds, 6);
  EXPECT_FALSE(list->ended || list->encrypted);
  ASSERT_EQ(list->segments.size(), 3u);
  EXPECT_EQ(list->segments[0].url, "http://h/radio/x/a.ts");
  EXPECT_EQ(list->segments[1].url, "http://h/radio/b.ts");
  EXPECT_EQ(list->segments[2].url, "https://cdn.example/c.ts");
  EXPECT_EQ(list->segments[2].sequence, 9u);
  EXPECT_TRUE(list->segments[1].discontinuity);
  EXPECT_FALSE(list->segments[2].discontinuity);
}

TEST(HlsPlaylist, KeysOtherThanNoneMakeTheListEncrypted) {
  for (const char* key : {"METHOD=AES-128,URI=\"k\"", "METHOD=SAMPLE-AES,URI=\"k\""}) {
    EXPECT_TRUE(
        ParseMediaPlaylist(std::string(kMedia) + "#EXT-X-KEY:" + key + "\nd.ts\n", "http://h/")
            ->encrypted);
  }
  EXPECT_FALSE(
      ParseMediaPlaylist(std::string(kMedia) + "#EXT-X-KEY:METHOD=NONE\n", "http://h/")->encrypted);
  EXPECT_FALSE(ParseMediaPlaylist("#EXTM3U\n#EXTINF:6,\na.ts\n", "http://h/"));
}

// A live list of `count` 2-second segments from `first`.
MediaPlaylist Live(std::uint64_t first, int count) {
  MediaPlaylist list;
  list.targetSeconds = 2;
  list.firstSequence = first;
  for (int i = 0; i < count; ++i) {
    list.segments.push_back({"s" + std::to_string(first + i), 2.0, first + i, false, {}});
  }
  return list;
}

std::vector<std::string> Drain(HlsSchedule& schedule, std::vector<bool>* afresh = nullptr) {
  std::vector<std::string> urls;
  while (std::optional<HlsSegment> s = schedule.Next()) {
    urls.push_back(s->url);
    if (afresh != nullptr) {
      afresh->push_back(s->discontinuity);
    }
  }
  return urls;
}

TEST(HlsSchedule, LiveListStartsThreeTargetsBackAndHandsOutEachSegmentOnceInOrder) {
  const HlsSchedule::Clock::time_point t0{};
  HlsSchedule schedule(Live(10, 6), t0);
  EXPECT_EQ(Drain(schedule), (std::vector<std::string>{"s13", "s14", "s15"}));
  EXPECT_EQ(schedule.ReloadAt(), t0 + 2s);

  schedule.Reloaded(Live(11, 6), t0 + 2s);  // one new segment
  EXPECT_EQ(Drain(schedule), (std::vector<std::string>{"s16"}));
  EXPECT_EQ(schedule.ReloadAt(), t0 + 4s);

  schedule.Reloaded(Live(11, 6), t0 + 4s);  // unchanged: half a target
  EXPECT_TRUE(Drain(schedule).empty());
  EXPECT_EQ(schedule.ReloadAt(), t0 + 5s);
  EXPECT_FALSE(schedule.Finished());

  MediaPlaylist last = Live(12, 6);
  last.ended = true;
  schedule.Reloaded(last, t0 + 5s);
  EXPECT_EQ(Drain(schedule), (std::vector<std::string>{"s17"}));
  EXPECT_TRUE(schedule.Finished());
}

TEST(HlsSchedule, JumpSkipOrRestartStartsTheDecoderAfresh) {
  HlsSchedule schedule(Live(10, 4), {});
  Drain(schedule);
  std::vector<bool> afresh;
  schedule.Reloaded(Live(30, 2), {});  // segments went by unfetched
  EXPECT_EQ(Drain(schedule, &afresh), (std::vector<std::string>{"s30", "s31"}));
  EXPECT_EQ(afresh, (std::vector<bool>{true, false}));

  schedule.Reloaded(Live(31, 3), {});
  ASSERT_TRUE(schedule.Next());
  schedule.Skipped();
  schedule.Reloaded(Live(32, 3), {});
  afresh.clear();
  EXPECT_EQ(Drain(schedule, &afresh), (std::vector<std::string>{"s33", "s34"}));
  EXPECT_EQ(afresh, (std::vector<bool>{true, false}));

  schedule.Reloaded(Live(0, 6), {});  // the encoder started over
  afresh.clear();
  EXPECT_EQ(Drain(schedule, &afresh), (std::vector<std::string>{"s3", "s4", "s5"}));
  EXPECT_EQ(afresh, (std::vector<bool>{true, false, false}));
}

}  // namespace
}  // namespace audio
