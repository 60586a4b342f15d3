// Which match a search reports: the leftmost start, and there the first way through, not the
// longest.
#include "tests/regex/RegexTestSupport.h"

namespace {

constexpr const char* kTitlePattern = "<title>[^<]+<";

TEST(RegexLeftmostFirst, TitlePatternFindsTheTitleElement) {
  Regex re;
  ASSERT_TRUE(Compiles(re, kTitlePattern));
  const char* subject = "<album><title>Night Drive</title></album>";
  EXPECT_EQ(re.Execute(subject), 7);
  EXPECT_STREQ(re.MatchText(), "<title>Night Drive<");
  EXPECT_EQ(re.MatchLength(), 19);
  EXPECT_EQ(Span(re, 0, subject), std::make_pair(7L, 26L));
}

TEST(RegexLeftmostFirst, TitlePatternNeedsTextAndAClosingBracket) {
  Regex re;
  ASSERT_TRUE(Compiles(re, kTitlePattern));
  EXPECT_EQ(re.Execute("<title></title>"), -1);
  EXPECT_EQ(re.Execute("<title>no end"), -1);
  EXPECT_EQ(re.Execute("<title>a<title>b<"), 0);
  EXPECT_STREQ(re.MatchText(), "<title>a<");
}

TEST(RegexLeftmostFirst, LeftmostStartWins) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a|b"));
  EXPECT_EQ(re.Execute("xxb"), 2);
  EXPECT_EQ(re.Execute("xa"), 1);
  EXPECT_EQ(re.Execute(""), -1);
  ASSERT_TRUE(Compiles(re, "bc|abcd"));
  EXPECT_EQ(re.Execute("abcd"), 0) << "an earlier start beats an earlier alternative";
}

TEST(RegexLeftmostFirst, FirstAlternativeWinsOverALongerOne) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a|ab"));
  EXPECT_EQ(re.Execute("ab"), 0);
  EXPECT_EQ(re.MatchLength(), 1);
  ASSERT_TRUE(Compiles(re, "ab|a"));
  EXPECT_EQ(re.Execute("ab"), 0);
  EXPECT_EQ(re.MatchLength(), 2);
}

TEST(RegexLeftmostFirst, EmptyMatchAtTheStartBeatsALongerOneLater) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "[^a-c]*"));
  EXPECT_EQ(re.Execute("abcxyz"), 0);
  EXPECT_STREQ(re.MatchText(), "");
  ASSERT_TRUE(Compiles(re, ""));
  EXPECT_EQ(re.Execute("abc"), 0);
  EXPECT_STREQ(re.MatchText(), "");
  EXPECT_EQ(re.Execute(""), 0);
}

TEST(RegexLeftmostFirst, EmptyAlternativeCountsAsAWay) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x(|a)"));
  EXPECT_EQ(re.Execute("xa"), 0);
  EXPECT_EQ(re.MatchLength(), 1);
  ASSERT_TRUE(Compiles(re, "x(a|)"));
  EXPECT_EQ(re.Execute("xa"), 0);
  EXPECT_EQ(re.MatchLength(), 2);
}

}  // namespace
