// The engine against PCRE2, which has the same leftmost-first backtracking semantics: generated
// patterns and subjects over a small alphabet must give the same match start, length and group
// spans wherever both engines accept the pattern. Seeded, so every run checks the same cases.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <memory>
#include <random>
#include <string>

#include "tests/regex/RegexTestSupport.h"

namespace {

constexpr unsigned kSeed = 20261207;
constexpr int kPatterns = 6000;
constexpr int kSubjectsPerPattern = 6;

// Pieces a pattern is made of, each as likely as its repetitions make it. Sets keep to forms
// that both engines read alike (no ranges chained by a second '-', no backslash inside).
const char* const kTokens[] = {
    "a", "a",    "a",    "b",     "b",      "b",    "c",    "ab",   "ba",   ".",   ".",   "|", "|",
    "(", "(",    "(",    ")",     ")",      ")",    "*",    "*",    "+",    "+",   "?",   "?", "^",
    "$", "[ab]", "[^a]", "[a-c]", "[^b-c]", "[]a]", "[-b]", "[a-]", "[^.]", "\\.", "\\*", "\n"};

int Roll(std::mt19937& random, int sides) {
  return static_cast<int>(random() % sides);
}

// Token soup: mostly malformed, which exercises what each engine refuses.
std::string TokenSoup(std::mt19937& random) {
  const int tokens = 1 + Roll(random, 10);
  std::string pattern;
  for (int i = 0; i < tokens; ++i) {
    pattern += kTokens[Roll(random, std::size(kTokens))];
  }
  return pattern;
}

std::string Alternation(std::mt19937& random, int depth);

std::string Atom(std::mt19937& random, int depth) {
  if (depth < 3 && Roll(random, 4) == 0) {
    return "(" + Alternation(random, depth + 1) + ")";
  }
  return kTokens[Roll(random, std::size(kTokens))];
}

// A pattern built by the grammar: groups nest and balance, so captures get compared.
std::string Alternation(std::mt19937& random, int depth) {
  static const char* const kQuantifiers[] = {"", "", "", "*", "+", "?"};
  std::string pattern;
  const int branches = 1 + (Roll(random, 3) == 0 ? Roll(random, 3) : 0);
  for (int b = 0; b < branches; ++b) {
    if (b > 0) {
      pattern += "|";
    }
    const int pieces = Roll(random, 4);
    for (int i = 0; i < pieces; ++i) {
      pattern += Atom(random, depth);
      pattern += kQuantifiers[Roll(random, std::size(kQuantifiers))];
    }
  }
  return pattern;
}

std::string RandomPattern(std::mt19937& random) {
  return Roll(random, 3) == 0 ? TokenSoup(random) : Alternation(random, 0);
}

std::string RandomSubject(std::mt19937& random) {
  static const std::string alphabet = "aaabbbc.*\n";
  std::string subject(std::uniform_int_distribution<int>(0, 10)(random), ' ');
  for (char& ch : subject) {
    ch = alphabet[random() % alphabet.size()];
  }
  return subject;
}

std::string Printable(const std::string& text) {
  std::string out = "\"";
  for (char ch : text) {
    out += ch == '\n' ? std::string("\\n") : std::string(1, ch);
  }
  return out + "\"";
}

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

// PCRE2 with '.' matching a line feed and '$' only at the very end, as in the engine.
std::unique_ptr<pcre2_code, CodeDeleter> CompileReference(const std::string& pattern) {
  int error;
  PCRE2_SIZE errorOffset;
  return std::unique_ptr<pcre2_code, CodeDeleter>(
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.c_str()), pattern.size(),
                    PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY, &error, &errorOffset, nullptr));
}

TEST(RegexDifferential, AgreesWithPcre2OnGeneratedPatterns) {
  std::mt19937 random(kSeed);
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
      pcre2_match_data_create(kGroupSlots, nullptr));
  int compared = 0;
  int matched = 0;
  int withGroups = 0;
  for (int p = 0; p < kPatterns; ++p) {
    const std::string pattern = RandomPattern(random);
    Regex re;
    const bool ours = re.Compile(pattern.c_str()) != nullptr;
    auto reference = CompileReference(pattern);
    for (int s = 0; s < kSubjectsPerPattern; ++s) {
      const std::string subject = RandomSubject(random);
      if (!ours || !reference) {
        continue;
      }
      const std::string context = "pattern " + Printable(pattern) + " subject " +
                                  Printable(subject) + " (case " + std::to_string(p) + ")";
      const int result = re.Execute(subject.c_str());
      const int rc = pcre2_match(reference.get(), reinterpret_cast<PCRE2_SPTR>(subject.c_str()),
                                 subject.size(), 0, 0, data.get(), nullptr);
      ASSERT_TRUE(rc > 0 || rc == PCRE2_ERROR_NOMATCH) << context << " PCRE2 error " << rc;
      ++compared;
      if (rc == PCRE2_ERROR_NOMATCH) {
        EXPECT_EQ(result, -1) << context;
        continue;
      }
      const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
      ASSERT_EQ(result, static_cast<int>(ovector[0])) << context;
      EXPECT_EQ(re.MatchLength(), static_cast<int>(ovector[1] - ovector[0])) << context;
      ++matched;
      bool anyGroup = false;
      for (int group = 1; group < kGroupSlots; ++group) {
        std::pair<long, long> expected{-1, -1};
        if (group < rc && ovector[2 * group] != PCRE2_UNSET) {
          expected = {static_cast<long>(ovector[2 * group]),
                      static_cast<long>(ovector[2 * group + 1])};
          anyGroup = true;
        }
        EXPECT_EQ(Span(re, group, subject.c_str()), expected) << context << " group " << group;
      }
      withGroups += anyGroup;
    }
    if (HasFailure()) {
      return;
    }
  }
  // The generator must keep producing cases both engines accept, matches and captures.
  EXPECT_GT(compared, 5000);
  EXPECT_GT(matched, 2000);
  EXPECT_GT(withGroups, 300);
  std::printf("compared %d cases, %d matches, %d with groups\n", compared, matched, withGroups);
}

}  // namespace
