// '^' and '$': the subject's start and its terminating NUL, wherever they stand in the pattern.
#include "tests/regex/RegexTestSupport.h"

namespace {

TEST(RegexAnchors, CaretMatchesOnlyAtTheSubjectStart) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "^abc"));
  EXPECT_EQ(re.Execute("xabc"), -1);
  EXPECT_EQ(re.Execute("abcabc"), 0);
  ASSERT_TRUE(Compiles(re, "(^a|b)"));
  EXPECT_EQ(re.Execute("cab"), 2);
  EXPECT_EQ(re.Execute("ab"), 0);
  ASSERT_TRUE(Compiles(re, "a^b"));
  EXPECT_EQ(re.Execute("ab"), -1);
}

TEST(RegexAnchors, DollarMatchesOnlyAtTheEndNotBeforeALineFeed) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "abc$"));
  EXPECT_EQ(re.Execute("abcx"), -1);
  EXPECT_EQ(re.Execute("abcabc"), 3);
  ASSERT_TRUE(Compiles(re, "a$"));
  EXPECT_EQ(re.Execute("a\n"), -1);
  ASSERT_TRUE(Compiles(re, "(a$|b)c*"));
  EXPECT_EQ(re.Execute("xa"), 1);
}

TEST(RegexAnchors, DotMatchesALineFeed) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a.b"));
  EXPECT_EQ(re.Execute("a\nb"), 0);
  EXPECT_EQ(re.Execute("ab"), -1);
}

TEST(RegexAnchors, EmptyMatchesAtStartAndEnd) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "^$"));
  EXPECT_EQ(re.Execute(""), 0);
  EXPECT_STREQ(re.MatchText(), "");
  EXPECT_EQ(re.Execute("a"), -1);
  ASSERT_TRUE(Compiles(re, "$"));
  EXPECT_EQ(re.Execute("abc"), 3);
  EXPECT_STREQ(re.MatchText(), "");
}

}  // namespace
