// The compiled form shared by the compiler and the matcher: a chain of three-byte nodes
// (opcode, then a signed 16-bit link, low byte first), some followed by an operand.
#pragma once

#include <cstdint>

enum RegexOp : std::uint8_t {
  OpEnd = 0,          // the match succeeds
  OpAtStart = 1,      // empty, only at the subject start
  OpAtEnd = 2,        // empty, only at the subject's terminating NUL
  OpAnyChar = 3,      // one character other than NUL
  OpInSet = 4,        // one character of the NUL-terminated operand
  OpNotInSet = 5,     // one character, not NUL, missing from the operand
  OpChoice = 6,       // one alternative: the body follows in memory, the link leads to the next
  OpLoopBack = 7,     // empty; its link points backwards and closes a loop
  OpLiteral = 8,      // exactly the characters of the NUL-terminated operand
  OpEmpty = 9,        // empty: join points and empty alternatives
  OpStar = 10,        // zero or more of the single-character body that follows, greedy
  OpPlus = 11,        // one or more of the single-character body that follows, greedy
  OpGroupOpen = 20,   // 20 + n records the start of group n (1 to 9)
  OpGroupClose = 30,  // 30 + n records the end of group n
};

inline constexpr int kNodeSize = 3;

// Number of group slots in a record: slot 0 is the whole match, 1 to 9 the capture groups.
inline constexpr int kGroupSlots = 10;

// The longest program whose links all fit 16 bits: every link spans at most the distance from
// the first node to the last one, programSize - kNodeSize bytes.
inline constexpr int kMaxProgramSize = 32767 + kNodeSize;

// The node a node's link leads to, or null when its link is 0. An OpLoopBack leads backwards.
template <typename Byte>  // std::uint8_t or const std::uint8_t
Byte* NextNode(Byte* node) {
  const int link = static_cast<std::int16_t>(node[1] | node[2] << 8);
  if (link == 0) {
    return nullptr;
  }
  return node[0] == OpLoopBack ? node - link : node + link;
}

// A node's operand, or for OpChoice, OpStar and OpPlus its body node.
template <typename Byte>
Byte* OperandOf(Byte* node) {
  return node + kNodeSize;
}
