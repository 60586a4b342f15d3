// '*', '+' and '?': greedy, backing off one character at a time, on single characters and groups.
#include "tests/regex/RegexTestSupport.h"

namespace {

TEST(RegexQuantifiers, StarAndPlusTakeTheLongestRunThatLetsTheRestMatch) {
  Regex re;
  CompileOrFail(re, "a*");
  EXPECT_EQ(re.Execute("aaab"), 0);
  EXPECT_EQ(re.MatchLength(), 3);
  CompileOrFail(re, "a*a");
  EXPECT_EQ(re.Execute("aaa"), 0);
  EXPECT_EQ(re.MatchLength(), 3);
  CompileOrFail(re, ".*x");
  EXPECT_EQ(re.Execute("axbxc"), 0);
  EXPECT_STREQ(re.MatchText(), "axbx");
  CompileOrFail(re, "a+");
  EXPECT_EQ(re.Execute("baaa"), 1);
  EXPECT_EQ(re.MatchLength(), 3);
}

TEST(RegexQuantifiers, RepeatBacksOffPastCharactersTheRestCannotStartWith) {
  Regex re;
  CompileOrFail(re, "x.*ab");
  EXPECT_EQ(re.Execute("xaabbab-ac"), 0);
  EXPECT_STREQ(re.MatchText(), "xaabbab");
  CompileOrFail(re, "a*.b");
  EXPECT_EQ(re.Execute("aaab"), 0);
  EXPECT_EQ(re.MatchLength(), 4);
}

TEST(RegexQuantifiers, PlusNeedsOneRepetition) {
  Regex re;
  CompileOrFail(re, "x+yy+zzz");
  EXPECT_EQ(re.Execute("xyzzz"), -1);
  EXPECT_EQ(re.Execute("xxyyyzzz"), 0);
  CompileOrFail(re, ".+x");
  EXPECT_EQ(re.Execute("x"), -1);
  EXPECT_EQ(re.Execute("ax"), 0);
  CompileOrFail(re, "(ab)+c");
  EXPECT_EQ(re.Execute("c"), -1);
  EXPECT_EQ(re.Execute("ababc"), 0);
  EXPECT_EQ(re.MatchLength(), 5);
}

TEST(RegexQuantifiers, OptionalPrefersTakingTheAtom) {
  Regex re;
  CompileOrFail(re, "a?b");
  EXPECT_EQ(re.Execute("aab"), 1);
  EXPECT_STREQ(re.MatchText(), "ab");
  EXPECT_EQ(re.Execute("b"), 0);
  CompileOrFail(re, "x(ab)?");
  EXPECT_EQ(re.Execute("xab"), 0);
  EXPECT_EQ(re.MatchLength(), 3);
  EXPECT_EQ(re.Execute("xa"), 0);
  EXPECT_EQ(re.MatchLength(), 1);
}

TEST(RegexQuantifiers, StarOverAGroupRepeatsUntilTheRestMatches) {
  Regex re;
  CompileOrFail(re, "(ab)*abc");
  EXPECT_EQ(re.Execute("abababc"), 0);
  EXPECT_EQ(re.MatchLength(), 7);
  CompileOrFail(re, "(a|bc)*d");
  EXPECT_EQ(re.Execute("xabcad"), 1);
  EXPECT_STREQ(re.MatchText(), "abcad");
}

TEST(RegexQuantifiers, RepeatsCanMatchNothing) {
  Regex re;
  CompileOrFail(re, "b*a*");
  EXPECT_EQ(re.Execute("cba"), 0);
  EXPECT_STREQ(re.MatchText(), "");
  CompileOrFail(re, "x*");
  EXPECT_EQ(re.Execute(""), 0);
  EXPECT_STREQ(re.MatchText(), "");
}

}  // namespace
