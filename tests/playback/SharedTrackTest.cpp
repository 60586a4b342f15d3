#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "playback/SharedText.h"

namespace {

TEST(SharedTrack, ReaderNeverPairsAnArtistWithAnotherTracksTitle) {
  SharedTrack track;
  track.Set(L"Cher", L"Believe");
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i) {
      if (i % 2 == 0) {
        track.Set(L"Simon & Garfunkel", L"Mrs. Robinson");
      } else {
        track.Set(L"Cher", L"Believe");
      }
    }
    done.store(true);
  });
  int mismatches = 0;
  while (!done.load()) {
    const TrackTexts texts = track.Get();
    mismatches += (texts.artistText == L"Cher") != (texts.titleText == L"Believe");
  }
  writer.join();
  EXPECT_EQ(mismatches, 0);
}

TEST(SharedTrack, ArtistAloneKeepsTheTitle) {
  SharedTrack track;
  track.Set(L"Cher", L"Believe");
  track.SetArtist(L"Ada Lumen");
  EXPECT_EQ(track.Get().artistText, L"Ada Lumen");
  EXPECT_EQ(track.Get().titleText, L"Believe");
}

}  // namespace
