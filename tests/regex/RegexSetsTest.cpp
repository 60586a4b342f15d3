// Bracketed sets: members, ranges, negation and the characters that are special inside them.
#include <string>

#include "tests/regex/RegexTestSupport.h"

namespace {

// The member bytes of the set node that follows the top-level choice, up to the first NUL.
std::string MembersOf(const Regex& re) {
  return reinterpret_cast<const char*>(OperandOf(OperandOf(re.program)));
}

std::string MembersOf(const char* pattern) {
  Regex re;
  EXPECT_EQ(re.Compile(pattern), &re) << pattern;
  return re.program ? MembersOf(re) : std::string();
}

TEST(RegexSets, BracketOrDashFirstIsAMember) {
  EXPECT_EQ(MembersOf("[]a]"), "]a");
  EXPECT_EQ(MembersOf("[-a]"), "-a");
  EXPECT_EQ(MembersOf("[a-]"), "a-");
  EXPECT_EQ(MembersOf("[^]a]"), "]a");
  EXPECT_EQ(MembersOf("[^-a]"), "-a");
}

TEST(RegexSets, RangesExpandFromTheCharacterBeforeTheDash) {
  EXPECT_EQ(MembersOf("[a-a]"), "a");
  EXPECT_EQ(MembersOf("[a-e]"), "abcde");
  EXPECT_EQ(MembersOf("[a-c-e]"), "abcde");
  EXPECT_EQ(MembersOf("[]-a]"), "]^_`a");
  EXPECT_EQ(MembersOf("[xa-bx]"), "xabx") << "members keep pattern order and duplicates";
}

TEST(RegexSets, MetaCharactersAndBackslashAreOrdinaryInside) {
  EXPECT_EQ(MembersOf("[\\d]"), "\\d");
  EXPECT_EQ(MembersOf("[.]"), ".");
  EXPECT_EQ(MembersOf("[[]"), "[");
  EXPECT_EQ(MembersOf("[a^]"), "a^");
  EXPECT_EQ(MembersOf("[*+?|()$]"), "*+?|()$");
}

TEST(RegexSets, DescendingRangesDoNotCompile) {
  Regex re;
  EXPECT_EQ(re.Compile("[b-a]"), nullptr);
  // Ranges compare signed bytes: a high byte sorts below every ASCII character.
  EXPECT_EQ(re.Compile("[a-\xe9]"), nullptr);
  EXPECT_EQ(MembersOf("[\xe0-\xe3]"), "\xe0\xe1\xe2\xe3");
}

TEST(RegexSets, RangeFromAHighByteToALowOneStopsAtTheNulItPassesThrough) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "[\xfe-\x02]"));
  EXPECT_EQ(MembersOf(re), "\xfe\xff");
  // FE, then FF 00 01 02 from the range, then the terminator: the bytes after the NUL stay.
  EXPECT_EQ(re.programSize, 3 + 3 + 6 + 3);
  EXPECT_EQ(re.Execute("\x01\xff"), 1);
}

TEST(RegexSets, SetMatchesOneMember) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x[a-c]y"));
  EXPECT_EQ(re.Execute("xdy xby"), 4);
  EXPECT_STREQ(re.MatchText(), "xby");
  ASSERT_TRUE(Compiles(re, "[]]"));
  EXPECT_EQ(re.Execute("a]"), 1);
}

TEST(RegexSets, NegatedSetMatchesAnyOtherCharacterButNotTheEnd) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "[^a-c]"));
  EXPECT_EQ(re.Execute("abcd"), 3);
  EXPECT_EQ(re.Execute("abc"), -1);
  EXPECT_EQ(re.Execute(""), -1);
  ASSERT_TRUE(Compiles(re, "a[^b]"));
  EXPECT_EQ(re.Execute("a"), -1);
  EXPECT_EQ(re.Execute("a\n"), 0);
}

TEST(RegexSets, RepeatedSetsCountWholeRuns) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "[ab]+c"));
  EXPECT_EQ(re.Execute("xxabbac"), 2);
  EXPECT_STREQ(re.MatchText(), "abbac");
  ASSERT_TRUE(Compiles(re, "[^<]*<"));
  EXPECT_EQ(re.Execute("text<"), 0);
  EXPECT_EQ(re.MatchLength(), 5);
}

}  // namespace
