// Literal runs and escapes: everything but the eleven meta characters stands for itself.
#include "tests/regex/RegexTestSupport.h"

namespace {

TEST(RegexLiterals, BracesBracketsAndDashesAreOrdinaryOutsideSets) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a{2}"));
  EXPECT_EQ(re.Execute("aa a{2}"), 3);
  EXPECT_EQ(re.MatchLength(), 4);
  ASSERT_TRUE(Compiles(re, "]-}"));
  EXPECT_EQ(re.Execute("x]-}"), 1);
}

TEST(RegexLiterals, BackslashMakesTheNextCharacterItself) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "\\."));
  EXPECT_EQ(ProgramOf(re)[3], OpLiteral);
  EXPECT_EQ(re.Execute("x"), -1);
  EXPECT_EQ(re.Execute("x."), 1);
  ASSERT_TRUE(Compiles(re, "\\d"));
  EXPECT_EQ(re.Execute("5"), -1);
  EXPECT_EQ(re.Execute("5d"), 1);
  ASSERT_TRUE(Compiles(re, "\\n"));
  EXPECT_EQ(re.Execute("\n"), -1);
  EXPECT_EQ(re.Execute("n"), 0);
  ASSERT_TRUE(Compiles(re, "a\\*\\(\\\\"));
  EXPECT_EQ(re.Execute("aa*(\\"), 1);
}

TEST(RegexLiterals, EscapedCharacterCanBeRepeated) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "\\.+x"));
  EXPECT_EQ(re.Execute("a...x"), 1);
  EXPECT_STREQ(re.MatchText(), "...x");
}

TEST(RegexLiterals, ComparisonIsExactBytes) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "A"));
  EXPECT_EQ(re.Execute("a"), -1);
  ASSERT_TRUE(Compiles(re, "caf\xe9"));
  EXPECT_EQ(re.Execute("un caf\xe9"), 3);
  EXPECT_EQ(re.Execute("un cafe"), -1);
}

TEST(RegexLiterals, LongLiteralMatchesOnlyWhole) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "abc"));
  EXPECT_EQ(re.Execute("ababc"), 2);
  EXPECT_EQ(re.Execute("ab"), -1);
  EXPECT_EQ(re.Execute("abd"), -1);
}

}  // namespace
