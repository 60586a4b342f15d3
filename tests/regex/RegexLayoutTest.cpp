// The compiled program byte for byte: node order, links, operands and sizes.
#include <string>

#include "tests/regex/RegexTestSupport.h"

namespace {

TEST(RegexLayout, TitlePatternCompilesToTheListedNodes) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "<title>[^<]+<"));
  EXPECT_EQ(re.programSize, 30);
  EXPECT_EQ(ProgramOf(re), Program({
                               Node(OpChoice, 27),              // 0
                               Node(OpLiteral, 11, "<title>"),  // 3
                               Node(OpPlus, 8),                 // 14
                               Node(OpNotInSet, 0, "<"),        // 17, the plus node's body
                               Node(OpLiteral, 5, "<"),         // 22
                               Node(OpEnd, 0),                  // 27
                           }));
}

TEST(RegexLayout, AlbumArtPatternCompilesTo43Bytes) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "<image size=\"large\">[^<]+<"));
  EXPECT_EQ(re.programSize, 43);
  EXPECT_EQ(ProgramOf(re), Program({
                               Node(OpChoice, 40),
                               Node(OpLiteral, 24, "<image size=\"large\">"),
                               Node(OpPlus, 8),
                               Node(OpNotInSet, 0, "<"),
                               Node(OpLiteral, 5, "<"),
                               Node(OpEnd, 0),
                           }));
}

TEST(RegexLayout, StarOverGroupLoopsBackToItsChoice) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(ab)*"));
  EXPECT_EQ(re.programSize, 33);
  EXPECT_EQ(ProgramOf(re), Program({
                               Node(OpChoice, 30),         // 0: the top level
                               Node(OpChoice, 21),         // 3: A, one more pass
                               Node(OpGroupOpen + 1, 3),   // 6: A's body
                               Node(OpChoice, 9),          // 9: the group's only branch
                               Node(OpLiteral, 6, "ab"),   // 12
                               Node(OpGroupClose + 1, 3),  // 18
                               Node(OpLoopBack, 18),       // 21: back to A at 3
                               Node(OpChoice, 3),          // 24: B, no more passes
                               Node(OpEmpty, 3),           // 27: where A and B join
                               Node(OpEnd, 0),             // 30
                           }));
  // The loop's links lead where the listing says.
  EXPECT_EQ(NextNode(re.program + 21), re.program + 3);
  EXPECT_EQ(NextNode(re.program + 3), re.program + 24);
  EXPECT_EQ(NextNode(re.program + 30), nullptr);
}

TEST(RegexLayout, PlusOverGroupRepeatsTheGroupBeforeItsChoice) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "(ab)+"));
  EXPECT_EQ(ProgramOf(re),
            Program({
                Node(OpChoice, 30), Node(OpGroupOpen + 1, 3),  // 3: the atom comes first
                Node(OpChoice, 9), Node(OpLiteral, 6, "ab"), Node(OpGroupClose + 1, 3),  // 15
                Node(OpChoice, 6),     // 18: A, another pass
                Node(OpLoopBack, 18),  // 21: A's body, back to the atom at 3
                Node(OpChoice, 3),     // 24: B, done
                Node(OpEmpty, 3),      // 27
                Node(OpEnd, 0),        // 30
            }));
}

TEST(RegexLayout, EmptyPatternIsChoiceEmptyEnd) {
  Regex re;
  ASSERT_TRUE(Compiles(re, ""));
  EXPECT_EQ(ProgramOf(re), Program({Node(OpChoice, 6), Node(OpEmpty, 3), Node(OpEnd, 0)}));
}

TEST(RegexLayout, SmallPatternsHaveTheirListedSizes) {
  const struct {
    const char* pattern;
    int size;
  } cases[] = {{"abc", 13}, {"a|b", 19}, {"x*", 14}, {"a?", 20}, {"(((((((((a)))))))))", 92}};
  for (const auto& c : cases) {
    Regex re;
    ASSERT_TRUE(Compiles(re, c.pattern));
    EXPECT_EQ(re.programSize, c.size) << c.pattern;
  }
}

TEST(RegexLayout, AlternativesChainTheirChoicesAndJoinAtTheEnd) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a|b"));
  EXPECT_EQ(ProgramOf(re), Program({
                               Node(OpChoice, 8),
                               Node(OpLiteral, 13, "a"),
                               Node(OpChoice, 8),
                               Node(OpLiteral, 5, "b"),
                               Node(OpEnd, 0),
                           }));
}

TEST(RegexLayout, SingleCharacterStarIsOneNodeOverItsBody) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x*"));
  EXPECT_EQ(ProgramOf(re), Program({
                               Node(OpChoice, 11),
                               Node(OpStar, 8),
                               Node(OpLiteral, 0, "x"),
                               Node(OpEnd, 0),
                           }));
}

TEST(RegexLayout, OptionalAtomSitsInAChoiceWithAnEmptyJoin) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "a?"));
  EXPECT_EQ(ProgramOf(re), Program({
                               Node(OpChoice, 17),
                               Node(OpChoice, 8),        // 3: A, take the atom
                               Node(OpLiteral, 8, "a"),  // 6: to the join at 14
                               Node(OpChoice, 3),        // 11: B, skip it
                               Node(OpEmpty, 3),         // 14
                               Node(OpEnd, 0),
                           }));
}

TEST(RegexLayout, QuantifierAfterALiteralRunTakesOnlyItsLastCharacter) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "abc*"));
  EXPECT_EQ(ProgramOf(re), Program({
                               Node(OpChoice, 17),
                               Node(OpLiteral, 6, "ab"),
                               Node(OpStar, 8),
                               Node(OpLiteral, 0, "c"),
                               Node(OpEnd, 0),
                           }));

  ASSERT_TRUE(Compiles(re, "hello+ world"));
  EXPECT_EQ(ProgramOf(re), Program({
                               Node(OpChoice, 29),
                               Node(OpLiteral, 8, "hell"),
                               Node(OpPlus, 8),
                               Node(OpLiteral, 0, "o"),
                               Node(OpLiteral, 10, " world"),
                               Node(OpEnd, 0),
                           }));
  EXPECT_EQ(re.firstChar, 'h');
}

// Links are 16 bits: the longest program keeps its first link at 32767 and still matches; one
// byte more does not compile.
TEST(RegexLayout, ProgramsWhoseLinksWouldNotFit16BitsDoNotCompile) {
  const int longestLiteral = kMaxProgramSize - 10;  // choice, literal node and NUL, end
  const std::string fits(longestLiteral, 'q');
  Regex re;
  ASSERT_TRUE(Compiles(re, fits.c_str()));
  EXPECT_EQ(re.programSize, kMaxProgramSize);
  EXPECT_EQ(re.program[1], 0xFF);
  EXPECT_EQ(re.program[2], 0x7F);
  EXPECT_EQ(re.Execute(("x" + fits).c_str()), 1);

  const std::string tooLong(longestLiteral + 1, 'q');
  EXPECT_EQ(re.Compile(tooLong.c_str()), nullptr);
  const std::string manyAlternatives = "(" + std::string(20000, '|') + ")";
  EXPECT_EQ(re.Compile(manyAlternatives.c_str()), nullptr);

  // The refused patterns left the last good program in force.
  EXPECT_EQ(re.Execute(fits.c_str()), 0);
  EXPECT_EQ(re.MatchLength(), longestLiteral);
}

}  // namespace
