// The three hints Compile derives: firstChar, anchored and requiredText.
#include <string>

#include "tests/regex/RegexTestSupport.h"

namespace {

std::string RequiredTextOf(const Regex& re) {
  return re.requiredText ? std::string(re.requiredText) : std::string("(none)");
}

TEST(RegexHints, LeadingLiteralGivesTheFirstCharacter) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "<title>[^<]+<"));
  EXPECT_EQ(re.firstChar, '<');
  EXPECT_EQ(re.anchored, 0);
  EXPECT_EQ(re.requiredText, nullptr);

  ASSERT_TRUE(Compiles(re, "zz*yyy*"));
  EXPECT_EQ(re.firstChar, 'z');
  EXPECT_EQ(RequiredTextOf(re), "(none)");
}

TEST(RegexHints, LeadingCaretAnchors) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "^abc"));
  EXPECT_EQ(re.anchored, 1);
  EXPECT_EQ(re.firstChar, 0);
  ASSERT_TRUE(Compiles(re, "^(a|b)$"));
  EXPECT_EQ(re.anchored, 1);
  ASSERT_TRUE(Compiles(re, "(^a)"));
  EXPECT_EQ(re.anchored, 0) << "only a caret that is the first node anchors";
}

TEST(RegexHints, PatternStartingWithARepeatRequiresItsLongestLiteral) {
  const struct {
    const char* pattern;
    const char* required;
  } cases[] = {{"x*abc", "abc"},  {".+x", "x"},      {"a+bcd", "bcd"},    {"(b*)cd", "cd"},
               {"(ab)*cd", "cd"}, {"x*ab.cd", "cd"}, {"(ab)*", "(none)"}, {"a*(bcd)e", "e"}};
  for (const auto& c : cases) {
    Regex re;
    ASSERT_TRUE(Compiles(re, c.pattern));
    EXPECT_EQ(RequiredTextOf(re), c.required) << c.pattern;
    if (re.requiredText) {
      const auto* text = reinterpret_cast<const std::uint8_t*>(re.requiredText);
      EXPECT_GE(text, re.program) << "the hint lies inside the program";
      EXPECT_LT(text, re.program + re.programSize);
    }
  }
}

TEST(RegexHints, OptionalStartOrSeveralAlternativesGiveNoHint) {
  for (const char* pattern : {"a?bcd", "x*ab|c", "a|b", "(abc)"}) {
    Regex re;
    ASSERT_TRUE(Compiles(re, pattern));
    EXPECT_EQ(re.firstChar, 0) << pattern;
    EXPECT_EQ(re.anchored, 0) << pattern;
    EXPECT_EQ(re.requiredText, nullptr) << pattern;
  }
}

TEST(RegexHints, RecompilingReplacesEveryHint) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x*abc"));
  ASSERT_TRUE(Compiles(re, "^q"));
  EXPECT_EQ(re.requiredText, nullptr);
  EXPECT_EQ(re.anchored, 1);
  ASSERT_TRUE(Compiles(re, "q"));
  EXPECT_EQ(re.anchored, 0);
  EXPECT_EQ(re.firstChar, 'q');
}

TEST(RegexHints, SubjectWithoutTheRequiredTextFindsNothing) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x*abc"));
  EXPECT_EQ(re.Execute("xxab"), -1);
  EXPECT_EQ(re.Execute("xxabc"), 0);
  // The required text is necessary, not sufficient.
  ASSERT_TRUE(Compiles(re, "x+yy+zzz"));
  EXPECT_EQ(re.Execute("xyzzz"), -1);
  ASSERT_TRUE(Compiles(re, ".+x"));
  EXPECT_EQ(re.Execute("x"), -1);
}

TEST(RegexHints, FirstCharacterSkipsOnlyPositionsThatCannotMatch) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "abc"));
  EXPECT_EQ(re.Execute("ababcabc"), 2);
  EXPECT_EQ(re.Execute("abab"), -1);
  EXPECT_EQ(re.Execute(""), -1);
}

}  // namespace
