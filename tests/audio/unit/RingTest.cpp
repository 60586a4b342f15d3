#include "audio/Ring.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace audio {
namespace {

TEST(Ring, KeepsOrderAcrossTheWrapAndRefusesWhatDoesNotFit) {
  Ring<int> ring(5);
  std::vector<int> in(8);
  std::iota(in.begin(), in.end(), 1);
  EXPECT_EQ(ring.Write(in.data(), 3), 3u);
  int out[8] = {};
  EXPECT_EQ(ring.Read(out, 2), 2u);
  EXPECT_EQ(ring.Write(in.data() + 3, 5), 4u);  // one does not fit
  EXPECT_EQ(ring.Size(), 5u);
  EXPECT_EQ(ring.Space(), 0u);
  EXPECT_EQ(ring.Read(out, 8), 5u);
  EXPECT_EQ(std::vector<int>(out, out + 5), (std::vector<int>{3, 4, 5, 6, 7}));
}

TEST(Ring, ChangingTheCapacityKeepsTheOldestItems) {
  Ring<char> ring(4);
  ring.Write("abcd", 4);
  char c;
  ring.Read(&c, 1);
  ring.Write("e", 1);  // wraps
  ring.SetCapacity(8);
  EXPECT_EQ(ring.Write("fgh", 3), 3u);
  char out[8] = {};
  EXPECT_EQ(ring.Read(out, 8), 7u);
  EXPECT_EQ(std::string(out, 7), "bcdefgh");
  ring.Write("xyz", 3);
  ring.SetCapacity(2);
  EXPECT_EQ(ring.Read(out, 8), 2u);
  EXPECT_EQ(std::string(out, 2), "xy");
}

TEST(Ring, EmptyRingIsHarmless) {
  Ring<char> ring;
  char c = 0;
  EXPECT_EQ(ring.Write("a", 1), 0u);
  EXPECT_EQ(ring.Read(&c, 1), 0u);
}

}  // namespace
}  // namespace audio
