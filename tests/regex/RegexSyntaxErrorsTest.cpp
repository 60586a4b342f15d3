// Patterns Compile refuses, and the odd ones it accepts.
#include "tests/regex/RegexTestSupport.h"

namespace {

TEST(RegexSyntaxErrors, MalformedPatternsDoNotCompile) {
  for (const char* pattern : {")",
                              "a)",
                              "(a",
                              "((a)",
                              "[a",
                              "[",
                              "[^",
                              "*a",
                              "+a",
                              "?a",
                              "a|*b",
                              "(*a)",
                              "a**",
                              "a*?",
                              "a+*",
                              "a??",
                              "()*",
                              "(a*)*",
                              "(a*)+",
                              "(|a)+",
                              "(a?)*",
                              "^*",
                              "$+",
                              "\\",
                              "ab\\",
                              "(((((((((())))))))))",
                              "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)"}) {
    Regex re;
    EXPECT_EQ(re.Compile(pattern), nullptr) << pattern;
    EXPECT_EQ(re.compiled, 1) << pattern;
    EXPECT_EQ(re.program, nullptr) << pattern;
  }
}

TEST(RegexSyntaxErrors, EmptyAlternativesAndOptionalEmptyGroupsCompile) {
  for (const char* pattern : {"|a", "a|", "()", "(a*)?", "(|)", "a{2}", "]", "}", "-", "^?", "$?",
                              "(((((((((a)))))))))", "(a)(b)(c)(d)(e)(f)(g)(h)(i)"}) {
    Regex re;
    EXPECT_EQ(re.Compile(pattern), &re) << pattern;
  }
}

TEST(RegexSyntaxErrors, NullPatternLeavesTheRecordUntouched) {
  Regex re;
  EXPECT_EQ(re.Compile(nullptr), nullptr);
  EXPECT_EQ(re.compiled, 0);
  ASSERT_TRUE(Compiles(re, "abc"));
  EXPECT_EQ(re.Compile(nullptr), nullptr);
  EXPECT_EQ(re.Execute("xabc"), 1);
}

}  // namespace
