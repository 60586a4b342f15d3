// Capture groups: numbering, the spans of the successful path, and repeated groups.
#include <utility>

#include "tests/regex/RegexTestSupport.h"

namespace {

using SpanPair = std::pair<long, long>;
constexpr SpanPair kUnset{-1, -1};

TEST(RegexGroups, FirstWorkableAlternativeSetsTheGroups) {
  Regex re;
  const char* subject = "abcd";
  ASSERT_TRUE(Compiles(re, "(a|ab)(c|bcd)(d*)"));
  ASSERT_EQ(re.Execute(subject), 0);
  EXPECT_STREQ(re.MatchText(), "abcd");
  EXPECT_EQ(Span(re, 0, subject), SpanPair(0, 4));
  EXPECT_EQ(Span(re, 1, subject), SpanPair(0, 1));
  EXPECT_EQ(Span(re, 2, subject), SpanPair(1, 4));
  EXPECT_EQ(Span(re, 3, subject), SpanPair(4, 4));
  EXPECT_EQ(Span(re, 4, subject), kUnset);
}

TEST(RegexGroups, RepeatedGroupReportsItsLastIteration) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(ab)*c"));
  const char* ababc = "ababc";
  ASSERT_EQ(re.Execute(ababc), 0);
  EXPECT_EQ(Span(re, 1, ababc), SpanPair(2, 4));
  const char* c = "c";
  ASSERT_EQ(re.Execute(c), 0);
  EXPECT_EQ(Span(re, 1, c), kUnset);

  ASSERT_TRUE(Compiles(re, "(a|b)*c"));
  const char* abac = "abac";
  ASSERT_EQ(re.Execute(abac), 0);
  EXPECT_EQ(Span(re, 1, abac), SpanPair(2, 3));

  ASSERT_TRUE(Compiles(re, "(ab)+c"));
  const char* abc = "abc";
  ASSERT_EQ(re.Execute(abc), 0);
  EXPECT_EQ(Span(re, 1, abc), SpanPair(0, 2));
}

TEST(RegexGroups, GroupsAreNumberedByTheirOpeningParentheses) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "((a)(b))(c)"));
  const char* subject = "xabc";
  ASSERT_EQ(re.Execute(subject), 1);
  EXPECT_EQ(Span(re, 1, subject), SpanPair(1, 3));
  EXPECT_EQ(Span(re, 2, subject), SpanPair(1, 2));
  EXPECT_EQ(Span(re, 3, subject), SpanPair(2, 3));
  EXPECT_EQ(Span(re, 4, subject), SpanPair(3, 4));
}

TEST(RegexGroups, GroupsOffTheSuccessfulPathStayUnset) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(a)|(b)"));
  const char* subject = "b";
  ASSERT_EQ(re.Execute(subject), 0);
  EXPECT_EQ(Span(re, 1, subject), kUnset);
  EXPECT_EQ(Span(re, 2, subject), SpanPair(0, 1));

  ASSERT_TRUE(Compiles(re, "(x)y|xz"));
  const char* xz = "xz";
  ASSERT_EQ(re.Execute(xz), 0);
  EXPECT_EQ(Span(re, 1, xz), kUnset) << "a failed alternative leaves no trace";

  ASSERT_TRUE(Compiles(re, "(q)?r"));
  const char* r = "r";
  ASSERT_EQ(re.Execute(r), 0);
  EXPECT_EQ(Span(re, 1, r), kUnset);
}

TEST(RegexGroups, EachSearchStartsWithClearSlots) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(a)?b"));
  const char* first = "ab";
  ASSERT_EQ(re.Execute(first), 0);
  EXPECT_EQ(Span(re, 1, first), SpanPair(0, 1));
  const char* second = "b";
  ASSERT_EQ(re.Execute(second), 0);
  EXPECT_EQ(Span(re, 1, second), kUnset);
}

TEST(RegexGroups, NineGroupsAreCaptured) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(a)(b)(c)(d)(e)(f)(g)(h)(i)"));
  const char* subject = "abcdefghi";
  ASSERT_EQ(re.Execute(subject), 0);
  for (int slot = 1; slot <= 9; ++slot) {
    EXPECT_EQ(Span(re, slot, subject), SpanPair(slot - 1, slot)) << slot;
  }
}

TEST(RegexGroups, EmptyGroupMatchesAnEmptySpan) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a()b"));
  const char* subject = "ab";
  ASSERT_EQ(re.Execute(subject), 0);
  EXPECT_EQ(Span(re, 1, subject), SpanPair(1, 1));
}

}  // namespace
