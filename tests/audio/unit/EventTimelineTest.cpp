// The event timeline on the test's own clock: a title is told when its frame is heard and not
// before, a text the program already has passes silently, a stall and its refill, the end.
#include "audio/EventTimeline.h"

#include <gtest/gtest.h>

namespace audio {
namespace {

using namespace std::chrono_literals;
using Clock = EventTimeline::Clock;
using Kind = EventTimeline::Kind;

// When the period the tests render begins to be heard.
const Clock::time_point kStart = Clock::time_point{} + 1h;

PlayPosition Heard(std::uint64_t framesPlayed, std::uint64_t periodFirstFrame) {
  return {framesPlayed, periodFirstFrame, kStart, false, false};
}

class EventTimelineTest : public testing::Test {
 protected:
  void SetUp() override {
    HSYNC handle = 1;
    for (DWORD type : {BASS_SYNC_META, BASS_SYNC_OGG_CHANGE, BASS_SYNC_STALL, BASS_SYNC_END}) {
      timeline_.AddSync({handle++, type, nullptr, nullptr});
    }
    timeline_.Play();
  }

  // The sync type told at `after` past the period's start, with its data; 0 when nothing is.
  std::pair<DWORD, DWORD> DueAt(Clock::duration after) {
    const std::optional<EventTimeline::Due> due = timeline_.TakeDue(kStart + after);
    if (!due) {
      return {0, 0};
    }
    EXPECT_EQ(due->syncs.size(), 1u);
    return {due->type, due->data};
  }

  EventTimeline timeline_{44100};
};

TEST_F(EventTimelineTest, TitleIsToldWhenItsFrameIsHeardAndNotBefore) {
  timeline_.Add({{44100, Kind::Meta, "StreamTitle='A - B';", 1}});
  timeline_.Rendered(Heard(22050, 0));  // its frame has not gone to the output yet
  EXPECT_EQ(DueAt(1h).first, 0u);
  timeline_.Rendered(Heard(88200, 22050));  // frame 44100 is heard 0.5 s into this period
  EXPECT_EQ(DueAt(499ms).first, 0u);
  EXPECT_EQ(DueAt(500ms).first, BASS_SYNC_META);
  EXPECT_EQ(DueAt(1h).first, 0u);  // told once
}

TEST_F(EventTimelineTest, TextTheProgramAlreadyHasPassesSilently) {
  timeline_.Add({{100, Kind::Meta, "StreamTitle='A';", 1},
                 {200, Kind::Meta, "StreamTitle='A';", 2},
                 {300, Kind::OggChange, std::string("ARTIST=B\0", 10), 3}});
  // The program reads the comments before their audio is heard: their change is not told.
  EXPECT_STREQ(timeline_.CurrentOrNext(Kind::OggChange), "ARTIST=B");
  timeline_.Rendered(Heard(1000, 0));
  EXPECT_EQ(DueAt(1s).first, BASS_SYNC_META);
  EXPECT_EQ(DueAt(1s).first, 0u);
  EXPECT_STREQ(timeline_.CurrentOrNext(Kind::Meta), "StreamTitle='A';");
}

TEST_F(EventTimelineTest, StallAndItsRefillAreToldOnceEachAndAgainWhenTheConnectionGoes) {
  PlayPosition dry = Heard(1000, 0);
  dry.stalled = true;
  timeline_.Rendered(dry);
  EXPECT_EQ(DueAt(0s), std::make_pair(BASS_SYNC_STALL, DWORD{0}));
  EXPECT_EQ(DueAt(0s).first, 0u);
  timeline_.ConnectionLost();
  EXPECT_EQ(DueAt(0s), std::make_pair(BASS_SYNC_STALL, DWORD{0}));
  timeline_.Rendered(Heard(2000, 1000));  // refilled
  EXPECT_EQ(DueAt(0s), std::make_pair(BASS_SYNC_STALL, DWORD{1}));
  EXPECT_EQ(DueAt(0s).first, 0u);
}

TEST_F(EventTimelineTest, EndIsToldWhenTheLastFrameIsHeardAndNothingAfterIt) {
  timeline_.Add({{44100, Kind::Meta, "StreamTitle='Last';", 1}});
  timeline_.DownloadEnded();
  PlayPosition drained = Heard(88200, 0);
  drained.drained = true;
  timeline_.Rendered(drained);
  EXPECT_EQ(DueAt(2s).first, BASS_SYNC_META);  // what was heard before the end comes first
  EXPECT_EQ(DueAt(1999ms).first, 0u);
  EXPECT_EQ(DueAt(2s).first, BASS_SYNC_END);
  drained.stalled = true;
  timeline_.Rendered(drained);
  EXPECT_EQ(DueAt(1h).first, 0u);
}

}  // namespace
}  // namespace audio
