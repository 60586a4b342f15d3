// The record over its life: failed compilations, a record without a program, and the match text.
#include "tests/regex/RegexTestSupport.h"

namespace {

TEST(RegexRecompile, FailedCompilationLeavesThePreviousProgramInForce) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "b+c"));
  const Bytes before = ProgramOf(re);
  const char* required = re.requiredText;
  for (const char* bad : {"a)", "(", "[z", "x**", "[b-a]", "(((((((((((a)))))))))))"}) {
    EXPECT_EQ(re.Compile(bad), nullptr) << bad;
    EXPECT_EQ(ProgramOf(re), before) << bad;
    EXPECT_EQ(re.requiredText, required) << bad;
    EXPECT_EQ(re.Execute("abbc"), 1) << bad;
    EXPECT_STREQ(re.MatchText(), "bbc") << bad;
  }
}

TEST(RegexRecompile, RecordWithoutAProgramFindsNothing) {
  Regex fresh;
  EXPECT_EQ(fresh.Execute(""), -1) << "never given a pattern";
  EXPECT_EQ(fresh.MatchText(), nullptr);

  Regex failed;
  EXPECT_EQ(failed.Compile("("), nullptr);
  EXPECT_EQ(failed.compiled, 1);
  EXPECT_EQ(failed.Execute(""), -1);
  EXPECT_EQ(failed.Execute("("), -1);
}

TEST(RegexRecompile, MatchTextLivesUntilTheNextSearch) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "b+"));
  ASSERT_EQ(re.Execute("abbc"), 1);
  EXPECT_STREQ(re.MatchText(), "bb");
  EXPECT_EQ(re.MatchLength(), 2);

  EXPECT_EQ(re.Execute("ac"), -1);
  EXPECT_EQ(re.MatchText(), nullptr);

  ASSERT_EQ(re.Execute("b"), 0);
  EXPECT_STREQ(re.MatchText(), "b") << "a fresh copy after a failed search";

  EXPECT_EQ(re.Execute(nullptr), -1);
  EXPECT_EQ(re.MatchText(), nullptr);
}

TEST(RegexRecompile, MatchTextIsACopyNotAViewOfTheSubject) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "[0-9]+"));
  char subject[] = "track 42";
  ASSERT_EQ(re.Execute(subject), 6);
  subject[6] = 'x';
  EXPECT_STREQ(re.MatchText(), "42");
}

TEST(RegexRecompile, OneCompilationServesManySearches) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(a+)b"));
  const Bytes program = ProgramOf(re);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(re.Execute("xaab"), 1);
    EXPECT_EQ(re.Execute("xaa"), -1);
  }
  EXPECT_EQ(ProgramOf(re), program);
}

}  // namespace
