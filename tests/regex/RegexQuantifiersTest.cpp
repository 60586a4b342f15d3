// '*', '+' and '?': greedy, backing off one character at a time, on single characters and groups.
#include "tests/regex/RegexTestSupport.h"

namespace {

TEST(RegexQuantifiers, StarAndPlusTakeTheLongestRunThatLetsTheRestMatch) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a*"));
  EXPECT_EQ(re.Execute("aaab"), 0);
  EXPECT_EQ(re.MatchLength(), 3);
  ASSERT_TRUE(Compiles(re, "a*a"));
  EXPECT_EQ(re.Execute("aaa"), 0);
  EXPECT_EQ(re.MatchLength(), 3);
  ASSERT_TRUE(Compiles(re, ".*x"));
  EXPECT_EQ(re.Execute("axbxc"), 0);
  EXPECT_STREQ(re.MatchText(), "axbx");
  ASSERT_TRUE(Compiles(re, "a+"));
  EXPECT_EQ(re.Execute("baaa"), 1);
  EXPECT_EQ(re.MatchLength(), 3);
}

TEST(RegexQuantifiers, RepeatBacksOffPastCharactersTheRestCannotStartWith) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x.*ab"));
  EXPECT_EQ(re.Execute("xaabbab-ac"), 0);
  EXPECT_STREQ(re.MatchText(), "xaabbab");
  ASSERT_TRUE(Compiles(re, "a*.b"));
  EXPECT_EQ(re.Execute("aaab"), 0);
  EXPECT_EQ(re.MatchLength(), 4);
}

TEST(RegexQuantifiers, PlusNeedsOneRepetition) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x+yy+zzz"));
  EXPECT_EQ(re.Execute("xyzzz"), -1);
  EXPECT_EQ(re.Execute("xxyyyzzz"), 0);
  ASSERT_TRUE(Compiles(re, ".+x"));
  EXPECT_EQ(re.Execute("x"), -1);
  EXPECT_EQ(re.Execute("ax"), 0);
  ASSERT_TRUE(Compiles(re, "(ab)+c"));
  EXPECT_EQ(re.Execute("c"), -1);
  EXPECT_EQ(re.Execute("ababc"), 0);
  EXPECT_EQ(re.MatchLength(), 5);
}

TEST(RegexQuantifiers, OptionalPrefersTakingTheAtom) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a?b"));
  EXPECT_EQ(re.Execute("aab"), 1);
  EXPECT_STREQ(re.MatchText(), "ab");
  EXPECT_EQ(re.Execute("b"), 0);
  ASSERT_TRUE(Compiles(re, "x(ab)?"));
  EXPECT_EQ(re.Execute("xab"), 0);
  EXPECT_EQ(re.MatchLength(), 3);
  EXPECT_EQ(re.Execute("xa"), 0);
  EXPECT_EQ(re.MatchLength(), 1);
}

TEST(RegexQuantifiers, StarOverAGroupRepeatsUntilTheRestMatches) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(ab)*abc"));
  EXPECT_EQ(re.Execute("abababc"), 0);
  EXPECT_EQ(re.MatchLength(), 7);
  ASSERT_TRUE(Compiles(re, "(a|bc)*d"));
  EXPECT_EQ(re.Execute("xabcad"), 1);
  EXPECT_STREQ(re.MatchText(), "abcad");
}

TEST(RegexQuantifiers, RepeatsCanMatchNothing) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "b*a*"));
  EXPECT_EQ(re.Execute("cba"), 0);
  EXPECT_STREQ(re.MatchText(), "");
  ASSERT_TRUE(Compiles(re, "x*"));
  EXPECT_EQ(re.Execute(""), 0);
  EXPECT_STREQ(re.MatchText(), "");
}

}  // namespace
