// Literal runs and escapes: everything but the eleven meta characters stands for itself.
#include "tests/regex/RegexTestSupport.h"

namespace {

TEST(RegexLiterals, BracesBracketsAndDashesAreOrdinaryOutsideSets) {
  Regex re;
  CompileOrFail(re, "a{2}");
  EXPECT_EQ(re.Execute("aa a{2}"), 3);
  EXPECT_EQ(re.MatchLength(), 4);
  CompileOrFail(re, "]-}");
  EXPECT_EQ(re.Execute("x]-}"), 1);
}

TEST(RegexLiterals, BackslashMakesTheNextCharacterItself) {
  Regex re;
  CompileOrFail(re, "\\.");
  EXPECT_EQ(ProgramOf(re)[3], OpLiteral);
  EXPECT_EQ(re.Execute("x"), -1);
  EXPECT_EQ(re.Execute("x."), 1);
  CompileOrFail(re, "\\d");
  EXPECT_EQ(re.Execute("5"), -1);
  EXPECT_EQ(re.Execute("5d"), 1);
  CompileOrFail(re, "\\n");
  EXPECT_EQ(re.Execute("\n"), -1);
  EXPECT_EQ(re.Execute("n"), 0);
  CompileOrFail(re, "a\\*\\(\\\\");
  EXPECT_EQ(re.Execute("aa*(\\"), 1);
}

TEST(RegexLiterals, EscapedCharacterCanBeRepeated) {
  Regex re;
  CompileOrFail(re, "\\.+x");
  EXPECT_EQ(re.Execute("a...x"), 1);
  EXPECT_STREQ(re.MatchText(), "...x");
}

TEST(RegexLiterals, ComparisonIsExactBytes) {
  Regex re;
  CompileOrFail(re, "A");
  EXPECT_EQ(re.Execute("a"), -1);
  CompileOrFail(re, "caf\xe9");
  EXPECT_EQ(re.Execute("un caf\xe9"), 3);
  EXPECT_EQ(re.Execute("un cafe"), -1);
}

TEST(RegexLiterals, LongLiteralMatchesOnlyWhole) {
  Regex re;
  CompileOrFail(re, "abc");
  EXPECT_EQ(re.Execute("ababc"), 2);
  EXPECT_EQ(re.Execute("ab"), -1);
  EXPECT_EQ(re.Execute("abd"), -1);
}

}  // namespace
