// Regex::Execute: the leftmost match, and at that position the first successful way through the
// program, alternatives tried from left to right and repetitions greedily, with backtracking.
#include <cstdlib>
#include <cstring>

#include "regex/Regex.h"

namespace {

// One search over the record, with what it has spent of its bounds.
struct Search {
  Regex& re;
  long steps = 0;
  bool givenUp = false;
};

// Counts one step; false once the search has given up.
bool Spend(Search& search) {
  if (!search.givenUp && ++search.steps > kMaxMatchSteps) {
    search.givenUp = true;
  }
  return !search.givenUp;
}

bool InSet(const std::uint8_t* node, char ch) {
  return std::strchr(reinterpret_cast<const char*>(OperandOf(node)), ch) != nullptr;
}

// How many consecutive characters from `input` the single-character node accepts.
std::size_t CountRepeats(const Regex& re, const std::uint8_t* node) {
  const char* text = reinterpret_cast<const char*>(OperandOf(node));
  switch (node[0]) {
    case OpAnyChar:
      return std::strlen(re.input);
    case OpInSet:
      return std::strspn(re.input, text);
    case OpNotInSet:
      return std::strcspn(re.input, text);
    case OpLiteral:
      if (text[1] == '\0') {
        const char* end = re.input;
        while (*end == text[0]) {
          ++end;
        }
        return end - re.input;
      }
      return 0;
    default:
      return 0;
  }
}

bool MatchFrom(Search& search, const std::uint8_t* node, int depth);

// OpStar and OpPlus: count the run once, then back off one character at a time, trying the rest
// of the program only where the character after the run can start it.
bool MatchRepeat(Search& search, const std::uint8_t* node, const std::uint8_t* next, int depth) {
  Regex& re = search.re;
  const bool lookahead = next && next[0] == OpLiteral;
  const char expected = lookahead ? static_cast<char>(OperandOf(next)[0]) : '\0';
  const char* base = re.input;
  const std::size_t minimum = node[0] == OpPlus ? 1 : 0;
  const std::size_t count = CountRepeats(re, OperandOf(node));
  for (std::size_t k = count + 1; k-- > minimum;) {
    if (!Spend(search)) {
      return false;
    }
    re.input = base + k;
    if ((!lookahead || *re.input == expected) && MatchFrom(search, next, depth + 1)) {
      return true;
    }
  }
  return false;
}

// An OpChoice with several alternatives: the first one that leads to a whole match wins.
bool MatchChoice(Search& search, const std::uint8_t* node, int depth) {
  Regex& re = search.re;
  const char* start = re.input;
  for (const std::uint8_t* alternative = node; alternative && alternative[0] == OpChoice;
       alternative = NextNode(alternative)) {
    if (MatchFrom(search, OperandOf(alternative), depth + 1)) {
      return true;
    }
    re.input = start;
  }
  return false;
}

// Group slots are written only on the way back from a whole match; the latest pass through a
// group returns first, so a slot already set is kept.
bool MatchGroupNode(Search& search, const char** slot, const std::uint8_t* next, int depth) {
  const char* position = search.re.input;
  if (!MatchFrom(search, next, depth + 1)) {
    return false;
  }
  if (!*slot) {
    *slot = position;
  }
  return true;
}

bool MatchFrom(Search& search, const std::uint8_t* node, int depth) {
  Regex& re = search.re;
  if (depth > kMaxMatchDepth) {
    search.givenUp = true;
    return false;
  }
  while (node) {
    if (!Spend(search)) {
      return false;
    }
    const std::uint8_t* next = NextNode(node);
    const char ch = *re.input;
    const int op = node[0];
    switch (op) {
      case OpEnd:
        return true;
      case OpAtStart:
        if (re.input != re.subjectStart) {
          return false;
        }
        break;
      case OpAtEnd:
        if (ch != '\0') {
          return false;
        }
        break;
      case OpAnyChar:
        if (ch == '\0') {
          return false;
        }
        ++re.input;
        break;
      case OpInSet:
        if (ch == '\0' || !InSet(node, ch)) {
          return false;
        }
        ++re.input;
        break;
      case OpNotInSet:
        if (ch == '\0' || InSet(node, ch)) {
          return false;
        }
        ++re.input;
        break;
      case OpLiteral: {
        const char* text = reinterpret_cast<const char*>(OperandOf(node));
        if (text[0] != ch) {
          return false;
        }
        const std::size_t length = std::strlen(text);
        if (length > 1 && std::strncmp(text, re.input, length) != 0) {
          return false;
        }
        re.input += length;
        break;
      }
      case OpEmpty:
      case OpLoopBack:
        break;
      case OpChoice:
        if (next && next[0] == OpChoice) {
          return MatchChoice(search, node, depth);
        }
        next = OperandOf(node);  // a single alternative needs no way back
        break;
      case OpStar:
      case OpPlus:
        return MatchRepeat(search, node, next, depth);
      default:
        if (op > OpGroupOpen && op < OpGroupOpen + kGroupSlots) {
          return MatchGroupNode(search, &re.groupStart[op - OpGroupOpen], next, depth);
        }
        if (op > OpGroupClose && op < OpGroupClose + kGroupSlots) {
          return MatchGroupNode(search, &re.groupEnd[op - OpGroupClose], next, depth);
        }
        return false;
    }
    node = next;
  }
  return false;
}

// Whether the program matches starting exactly at `position`.
bool TryAt(Search& search, const char* position) {
  Regex& re = search.re;
  re.input = position;
  for (int slot = 0; slot < kGroupSlots; ++slot) {
    re.groupStart[slot] = nullptr;
    re.groupEnd[slot] = nullptr;
  }
  if (!MatchFrom(search, re.program, 1)) {
    return false;
  }
  re.groupStart[0] = position;
  re.groupEnd[0] = re.input;
  return true;
}

// The leftmost position where the program matches, or null.
const char* FindStart(Search& search, const char* subject) {
  const Regex& re = search.re;
  if (re.anchored) {
    return TryAt(search, subject) ? subject : nullptr;
  }
  for (const char* position = subject;;) {
    if (TryAt(search, position)) {
      return position;
    }
    if (search.givenUp || *position == '\0') {
      return nullptr;
    }
    // With a first character, only the positions that hold it can start a match.
    position = re.firstChar ? std::strchr(position + 1, re.firstChar) : position + 1;
    if (!position) {
      return nullptr;
    }
  }
}

}  // namespace

int Regex::Execute(const char* subject) {
  std::free(matchCopy);
  matchCopy = nullptr;
  if (!subject || !compiled || !program) {
    return -1;
  }
  if (requiredText && !std::strstr(subject, requiredText)) {
    return -1;
  }
  subjectStart = subject;
  Search search{*this};
  const char* start = FindStart(search, subject);
  if (!start) {
    return -1;
  }
  const int length = MatchLength();
  // The caller reads the match text whenever the result is 0 or more: no text, no match.
  matchCopy = static_cast<char*>(std::malloc(length + 1));
  if (!matchCopy) {
    return -1;
  }
  std::memcpy(matchCopy, start, length);
  matchCopy[length] = '\0';
  return static_cast<int>(start - subject);
}

int Regex::MatchLength() const {
  if (!groupStart[0] || !groupEnd[0]) {
    return 0;
  }
  return static_cast<int>(groupEnd[0] - groupStart[0]);
}
