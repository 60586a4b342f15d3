// Any byte string as a pattern and as a subject gives a sound result: a compiled record or null,
// and a match that lies inside the subject and agrees with its text.
#include <random>
#include <string>

#include "tests/regex/RegexTestSupport.h"

namespace {

std::string RandomBytes(std::mt19937& random, int maxLength) {
  // Meta characters and a few letters often, so that patterns compile; any other byte sometimes.
  static const std::string common = "^$.[]()|?+*\\-ab";
  std::string text(std::uniform_int_distribution<int>(0, maxLength)(random), ' ');
  for (char& ch : text) {
    if (random() % 4 == 0) {
      ch = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random));
    } else {
      ch = common[random() % common.size()];
    }
  }
  return text;
}

void ExpectSoundResult(const Regex& re, int result, const std::string& subject) {
  if (result < 0) {
    EXPECT_EQ(re.MatchText(), nullptr);
    return;
  }
  const char* start = subject.c_str();
  ASSERT_LE(result, static_cast<int>(subject.size()));
  ASSERT_NE(re.MatchText(), nullptr);
  EXPECT_EQ(re.groupStart[0], start + result);
  EXPECT_EQ(std::string(re.MatchText()), subject.substr(result, re.MatchLength()));
  for (int slot = 1; slot < kGroupSlots; ++slot) {
    if (re.groupStart[slot] || re.groupEnd[slot]) {
      ASSERT_TRUE(re.groupStart[slot] && re.groupEnd[slot]) << "slot " << slot;
      EXPECT_LE(start, re.groupStart[slot]);
      EXPECT_LE(re.groupStart[slot], re.groupEnd[slot]);
      EXPECT_LE(re.groupEnd[slot], start + subject.size());
    }
  }
}

TEST(RegexAnyInput, ArbitraryPatternsAndSubjectsGiveSoundResults) {
  std::mt19937 random(20261207);
  Regex reused;
  int compiled = 0;
  for (int i = 0; i < 5000; ++i) {
    const std::string pattern = RandomBytes(random, 14);
    const std::string subject = RandomBytes(random, 24);
    Regex fresh;
    for (Regex* re : {&fresh, &reused}) {
      if (re->Compile(pattern.c_str()) && re == &fresh) {
        ++compiled;
      }
      ASSERT_NO_FATAL_FAILURE(ExpectSoundResult(*re, re->Execute(subject.c_str()), subject));
    }
  }
  EXPECT_GT(compiled, 500) << "the generator should give many patterns that compile";
}

}  // namespace
