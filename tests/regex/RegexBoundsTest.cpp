// A search is bounded in depth and in steps: beyond either it finds nothing instead of
// overflowing the stack or running on; within them, results are exact, however long the subject.
#include <string>

#include "tests/regex/RegexTestSupport.h"

namespace {

// Each pass through "(a)*" goes three levels deeper: the loop's choice, the group's opening and
// its closing node each continue in a nested call.
constexpr int kLevelsPerPass = 3;

TEST(RegexBounds, LoopWithinTheDepthBoundMatchesWhole) {
  const std::string subject(kMaxMatchDepth / kLevelsPerPass - 10, 'a');
  Regex re;
  ASSERT_TRUE(Compiles(re, "(a)*"));
  ASSERT_EQ(re.Execute(subject.c_str()), 0);
  EXPECT_EQ(re.MatchLength(), static_cast<int>(subject.size()));
  EXPECT_EQ(Span(re, 1, subject.c_str()), std::make_pair(static_cast<long>(subject.size()) - 1,
                                                         static_cast<long>(subject.size())));
}

TEST(RegexBounds, LoopBeyondTheDepthBoundFindsNothing) {
  const std::string subject(kMaxMatchDepth / kLevelsPerPass + 10, 'a');
  Regex re;
  ASSERT_TRUE(Compiles(re, "(a)*"));
  EXPECT_EQ(re.Execute(subject.c_str()), -1);
  EXPECT_EQ(re.MatchText(), nullptr);
  // Far beyond: a subject that would need millions of levels returns just the same.
  const std::string huge(4 << 20, 'a');
  EXPECT_EQ(re.Execute(huge.c_str()), -1);
  // The record is still usable.
  EXPECT_EQ(re.Execute("aab"), 0);
  EXPECT_EQ(re.MatchLength(), 2);
}

// "(a|a)*b" tries every way of splitting the a's between its two alternatives before it gives
// up on a subject without b: twice as many steps for every a more.
TEST(RegexBounds, BacktrackingWithinTheStepBoundFindsTheLaterAlternative) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(a|a)*b|a"));
  EXPECT_EQ(re.Execute(std::string(12, 'a').c_str()), 0);
  EXPECT_EQ(re.MatchLength(), 1);
}

TEST(RegexBounds, BacktrackingBeyondTheStepBoundFindsNothing) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(a|a)*b|a"));
  EXPECT_EQ(re.Execute(std::string(60, 'a').c_str()), -1);
  EXPECT_EQ(re.MatchText(), nullptr);
}

// An album element padded to 64 KB with the elements a reply carries around the large image.
std::string LargeReply(bool withLargeImage) {
  const std::string album = ReadFixture("album.xml");
  const std::string large = "<image size=\"large\">";
  const std::size_t largeStart = album.find(large);
  const std::size_t largeEnd = album.find('\n', largeStart) + 1;
  std::string filler = album.substr(0, largeStart);
  filler += album.substr(largeEnd);
  std::string reply;
  while (reply.size() < 64 * 1024) {
    reply += filler;
  }
  if (withLargeImage) {
    reply += album.substr(largeStart, largeEnd - largeStart);
  }
  return reply;
}

TEST(RegexBounds, AlbumArtPatternSearchesA64KilobyteReply) {
  Regex re;
  ASSERT_TRUE(Compiles(re, kAlbumArtPattern));
  const std::string reply = LargeReply(true);
  const int offset = re.Execute(reply.c_str());
  ASSERT_EQ(offset, static_cast<int>(reply.rfind("<image size=\"large\">")));
  EXPECT_STREQ(re.MatchText(),
               "<image size=\"large\">"
               "http://img.music.example.net/i/u/174s/2a96cbd8b46e442fc41c2b86b821562f.png<");

  EXPECT_EQ(re.Execute(LargeReply(false).c_str()), -1);
}

TEST(RegexBounds, RepeatOverALongRunCountsWithoutRecursing) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x[^<]+<"));
  const std::string subject = "x" + std::string(1 << 20, 'y') + "<";
  EXPECT_EQ(re.Execute(subject.c_str()), 0);
  EXPECT_EQ(re.MatchLength(), static_cast<int>(subject.size()));
}

}  // namespace
