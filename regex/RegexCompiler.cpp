// Regex::Compile: parses the pattern twice with the same code, first only counting the program's
// bytes, then writing them into a block of exactly that size, and derives the search hints.
#include <cstdlib>
#include <cstring>

#include "regex/Regex.h"

namespace {

// What a parse step reports about what it built.
enum ParseFlags : int {
  FlagNonEmpty = 1,    // always consumes at least one character
  FlagSingleChar = 2,  // one node consuming exactly one character: OpStar/OpPlus may repeat it
  FlagStartsWithRepeat = 4,  // begins with a repetition: requiredText is worth computing
};

constexpr const char* kMetaCharacters = "^$.[()|?+*\\";

bool IsQuantifier(char ch) {
  return ch == '*' || ch == '+' || ch == '?';
}

std::uint8_t* ParseAlternation(Regex& re, bool group, int& flags);

// Sizing pass only. The count stops just past the longest program allowed, so that no pattern,
// however long, can overflow it.
void CountBytes(Regex& re, int bytes) {
  if (re.programSize <= kMaxProgramSize) {
    re.programSize += bytes;
  }
}

std::uint8_t* EmitNode(Regex& re, int op) {
  if (!re.emitting) {
    CountBytes(re, kNodeSize);
    return re.scratchNode;
  }
  std::uint8_t* node = re.emitPos;
  node[0] = static_cast<std::uint8_t>(op);
  node[1] = 0;
  node[2] = 0;
  re.emitPos += kNodeSize;
  return node;
}

void EmitByte(Regex& re, char byte) {
  if (!re.emitting) {
    CountBytes(re, 1);
    return;
  }
  *re.emitPos++ = static_cast<std::uint8_t>(byte);
}

// Puts a node where `node` was; the old node and everything emitted after it move up and the
// old node becomes the new one's body. Links inside the moved bytes are relative and nothing
// outside them points in yet, so they stay valid.
void InsertNode(Regex& re, int op, std::uint8_t* node) {
  if (!re.emitting) {
    CountBytes(re, kNodeSize);
    return;
  }
  std::memmove(node + kNodeSize, node, re.emitPos - node);
  re.emitPos += kNodeSize;
  node[0] = static_cast<std::uint8_t>(op);
  node[1] = 0;
  node[2] = 0;
}

// Links the last node of the chain that starts at `node` to `target`.
void LinkTail(Regex& re, std::uint8_t* node, const std::uint8_t* target) {
  if (!re.emitting) {
    return;
  }
  std::uint8_t* last = node;
  while (std::uint8_t* next = NextNode(last)) {
    last = next;
  }
  const int link = last[0] == OpLoopBack ? last - target : target - last;
  last[1] = static_cast<std::uint8_t>(link & 0xFF);
  last[2] = static_cast<std::uint8_t>((link >> 8) & 0xFF);
}

// Links the end of an OpChoice's body to `target`.
void LinkOperandTail(Regex& re, std::uint8_t* node, const std::uint8_t* target) {
  if (re.emitting && node[0] == OpChoice) {
    LinkTail(re, OperandOf(node), target);
  }
}

// After the '[': the members, in pattern order, as the operand of an OpInSet or OpNotInSet.
std::uint8_t* ParseSet(Regex& re) {
  std::uint8_t* node;
  if (*re.parsePos == '^') {
    ++re.parsePos;
    node = EmitNode(re, OpNotInSet);
  } else {
    node = EmitNode(re, OpInSet);
  }
  if (*re.parsePos == ']' || *re.parsePos == '-') {
    EmitByte(re, *re.parsePos++);
  }
  char ch;
  while ((ch = *re.parsePos++) != '\0' && ch != ']') {
    if (ch != '-') {
      EmitByte(re, ch);
      continue;
    }
    const char last = *re.parsePos;
    if (last == ']' || last == '\0') {
      EmitByte(re, '-');
      continue;
    }
    // A range starts at the member before the '-', already emitted, and compares as signed bytes.
    const int from = static_cast<signed char>(re.parsePos[-2]);
    const int to = static_cast<signed char>(last);
    if (from > to) {
      return nullptr;
    }
    for (int value = from + 1; value <= to; ++value) {
      EmitByte(re, static_cast<char>(value));
    }
    ++re.parsePos;
  }
  EmitByte(re, '\0');
  return ch == '\0' ? nullptr : node;
}

// A run of ordinary characters as one OpLiteral; `re.parsePos` is at its first character.
std::uint8_t* ParseLiteralRun(Regex& re, int& flags) {
  std::size_t length = std::strcspn(re.parsePos, kMetaCharacters);
  // A quantifier after the run applies to its last character alone, which the next atom reads.
  if (length > 1 && IsQuantifier(re.parsePos[length])) {
    --length;
  }
  flags = FlagNonEmpty | (length == 1 ? FlagSingleChar : 0);
  std::uint8_t* node = EmitNode(re, OpLiteral);
  for (std::size_t i = 0; i < length; ++i) {
    EmitByte(re, *re.parsePos++);
  }
  EmitByte(re, '\0');
  return node;
}

std::uint8_t* ParseAtom(Regex& re, int& flags) {
  flags = 0;
  const char ch = *re.parsePos++;
  switch (ch) {
    case '^':
      return EmitNode(re, OpAtStart);
    case '$':
      return EmitNode(re, OpAtEnd);
    case '.':
      flags = FlagNonEmpty | FlagSingleChar;
      return EmitNode(re, OpAnyChar);
    case '[':
      flags = FlagNonEmpty | FlagSingleChar;
      return ParseSet(re);
    case '(': {
      int groupFlags;
      std::uint8_t* group = ParseAlternation(re, true, groupFlags);
      flags = groupFlags & (FlagNonEmpty | FlagStartsWithRepeat);
      return group;
    }
    case '\0':
    case '|':
    case ')':
    case '*':  // a quantifier that follows nothing
    case '+':
    case '?':
      return nullptr;
    case '\\': {
      if (*re.parsePos == '\0') {
        return nullptr;
      }
      flags = FlagNonEmpty | FlagSingleChar;
      std::uint8_t* node = EmitNode(re, OpLiteral);
      EmitByte(re, *re.parsePos++);
      EmitByte(re, '\0');
      return node;
    }
    default:
      --re.parsePos;
      return ParseLiteralRun(re, flags);
  }
}

std::uint8_t* ParsePiece(Regex& re, int& flags) {
  int atomFlags;
  std::uint8_t* atom = ParseAtom(re, atomFlags);
  if (!atom) {
    return nullptr;
  }
  const char quantifier = *re.parsePos;
  if (!IsQuantifier(quantifier)) {
    flags = atomFlags;
    return atom;
  }
  // '*' and '+' need an operand that always consumes a character, or they would loop forever.
  if (!(atomFlags & FlagNonEmpty) && quantifier != '?') {
    return nullptr;
  }
  const bool single = atomFlags & FlagSingleChar;
  if (quantifier == '*') {
    flags = FlagStartsWithRepeat;
    if (single) {
      InsertNode(re, OpStar, atom);
    } else {
      InsertNode(re, OpChoice, atom);  // `atom` is now this choice; the old atom its body
      std::uint8_t* loopBack = EmitNode(re, OpLoopBack);
      LinkOperandTail(re, atom, loopBack);
      LinkOperandTail(re, atom, atom);
      LinkTail(re, atom, EmitNode(re, OpChoice));
      LinkTail(re, atom, EmitNode(re, OpEmpty));
    }
  } else if (quantifier == '+') {
    flags = FlagStartsWithRepeat | FlagNonEmpty;
    if (single) {
      InsertNode(re, OpPlus, atom);
    } else {
      std::uint8_t* again = EmitNode(re, OpChoice);
      LinkTail(re, atom, again);
      LinkTail(re, EmitNode(re, OpLoopBack), atom);
      LinkTail(re, again, EmitNode(re, OpChoice));
      LinkTail(re, atom, EmitNode(re, OpEmpty));
    }
  } else {
    flags = 0;
    InsertNode(re, OpChoice, atom);
    LinkTail(re, atom, EmitNode(re, OpChoice));
    std::uint8_t* join = EmitNode(re, OpEmpty);
    LinkTail(re, atom, join);
    LinkOperandTail(re, atom, join);
  }
  ++re.parsePos;
  if (IsQuantifier(*re.parsePos)) {
    return nullptr;
  }
  return atom;
}

// One alternative: an OpChoice whose body is the alternative's first piece.
std::uint8_t* ParseBranch(Regex& re, int& flags) {
  flags = 0;
  std::uint8_t* choice = EmitNode(re, OpChoice);
  std::uint8_t* previous = nullptr;
  while (*re.parsePos != '\0' && *re.parsePos != '|' && *re.parsePos != ')') {
    int pieceFlags;
    std::uint8_t* piece = ParsePiece(re, pieceFlags);
    if (!piece) {
      return nullptr;
    }
    flags |= pieceFlags & FlagNonEmpty;
    if (previous) {
      LinkTail(re, previous, piece);
    } else {
      flags |= pieceFlags & FlagStartsWithRepeat;
    }
    previous = piece;
  }
  if (!previous) {
    EmitNode(re, OpEmpty);
  }
  return choice;
}

void MergeBranchFlags(int& flags, int branchFlags) {
  if (!(branchFlags & FlagNonEmpty)) {
    flags &= ~FlagNonEmpty;
  }
  flags |= branchFlags & FlagStartsWithRepeat;
}

// Alternatives separated by '|': the whole pattern, or a group after its '('.
std::uint8_t* ParseAlternation(Regex& re, bool group, int& flags) {
  flags = FlagNonEmpty;
  int number = 0;
  std::uint8_t* opener = nullptr;
  if (group) {
    if (re.nextGroup >= kGroupSlots) {
      return nullptr;
    }
    number = re.nextGroup++;
    opener = EmitNode(re, OpGroupOpen + number);
  }
  int branchFlags;
  std::uint8_t* branch = ParseBranch(re, branchFlags);
  if (!branch) {
    return nullptr;
  }
  std::uint8_t* result = branch;
  if (group) {
    LinkTail(re, opener, branch);
    result = opener;
  }
  MergeBranchFlags(flags, branchFlags);
  while (*re.parsePos == '|') {
    ++re.parsePos;
    branch = ParseBranch(re, branchFlags);
    if (!branch) {
      return nullptr;
    }
    LinkTail(re, result, branch);
    MergeBranchFlags(flags, branchFlags);
  }
  std::uint8_t* closer = EmitNode(re, group ? OpGroupClose + number : OpEnd);
  LinkTail(re, result, closer);
  // Every alternative's body ends at the closer.
  for (std::uint8_t* node = result; node; node = NextNode(node)) {
    LinkOperandTail(re, node, closer);
  }
  if (group) {
    if (*re.parsePos++ != ')') {
      return nullptr;
    }
  } else if (*re.parsePos != '\0') {  // a ')' without its '('
    return nullptr;
  }
  return result;
}

// The longest literal on the chain from `body`, a later one winning a tie.
const char* LongestLiteral(const std::uint8_t* body) {
  const char* longest = nullptr;
  std::size_t longestLength = 0;
  for (const std::uint8_t* node = body; node; node = NextNode(node)) {
    if (node[0] != OpLiteral) {
      continue;
    }
    const char* text = reinterpret_cast<const char*>(OperandOf(node));
    const std::size_t length = std::strlen(text);
    if (length >= longestLength) {
      longest = text;
      longestLength = length;
    }
  }
  return longest;
}

void SetHints(Regex& re, int flags) {
  const std::uint8_t* first = re.program;
  const std::uint8_t* next = NextNode(first);
  if (!next || next[0] != OpEnd) {
    return;  // several top-level alternatives: no hint holds for all of them
  }
  const std::uint8_t* body = OperandOf(first);
  if (body[0] == OpLiteral) {
    re.firstChar = static_cast<char>(OperandOf(body)[0]);
  } else if (body[0] == OpAtStart) {
    re.anchored = 1;
  }
  if (flags & FlagStartsWithRepeat) {
    re.requiredText = LongestLiteral(body);
  }
}

void StartPass(Regex& re, const char* pattern, std::uint8_t* output) {
  re.parsePos = pattern;
  re.nextGroup = 1;
  re.emitPos = output;
}

}  // namespace

Regex* Regex::Compile(const char* pattern) {
  if (!pattern) {
    return nullptr;
  }
  compiled = 1;

  // The sizing pass counts in programSize; a pattern it refuses leaves the previous program, so
  // it leaves that program's size too.
  const std::int32_t previousSize = programSize;
  emitting = 0;
  programSize = 0;
  scratchNode[0] = OpEmpty;
  scratchNode[1] = 0;
  scratchNode[2] = 0;
  StartPass(*this, pattern, scratchNode);
  int flags;
  if (!ParseAlternation(*this, false, flags) || programSize > kMaxProgramSize) {
    programSize = previousSize;
    return nullptr;
  }

  // From here on the previous program is gone: nothing may keep pointing into it.
  std::free(program);
  firstChar = 0;
  anchored = 0;
  requiredText = nullptr;
  program = static_cast<std::uint8_t*>(std::calloc(programSize, 1));
  if (!program) {
    programSize = 0;
    return nullptr;
  }

  emitting = 1;
  StartPass(*this, pattern, program);
  if (!ParseAlternation(*this, false, flags)) {
    return nullptr;
  }
  SetHints(*this, flags);
  return this;
}
