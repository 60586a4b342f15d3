// Helpers shared by the regex tests: programs written node by node, and group spans as offsets.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "regex/Regex.h"

using Bytes = std::vector<std::uint8_t>;

// One node as the listing shows it: opcode, link (low byte first), then the operand and its NUL.
inline Bytes Node(int op, int link, const char* operand = nullptr) {
  const std::size_t operandSize = operand ? std::strlen(operand) + 1 : 0;
  Bytes bytes(kNodeSize + operandSize, 0);
  bytes[0] = static_cast<std::uint8_t>(op);
  bytes[1] = static_cast<std::uint8_t>(link & 0xFF);
  bytes[2] = static_cast<std::uint8_t>((link >> 8) & 0xFF);
  if (operand) {
    std::memcpy(bytes.data() + kNodeSize, operand, operandSize);
  }
  return bytes;
}

inline Bytes Program(std::initializer_list<Bytes> nodes) {
  Bytes program;
  for (const Bytes& node : nodes) {
    program.insert(program.end(), node.begin(), node.end());
  }
  return program;
}

inline Bytes ProgramOf(const Regex& re) {
  if (!re.program) {
    return {};
  }
  return Bytes(re.program, re.program + re.programSize);
}

// Compiles `pattern` into `re`; a failure names the pattern. Use as ASSERT_TRUE(Compiles(...)).
inline ::testing::AssertionResult Compiles(Regex& re, const char* pattern) {
  if (re.Compile(pattern) == &re) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "pattern does not compile: " << pattern;
}

// Offsets of a group slot from the subject start; {-1, -1} when the slot is unset.
inline std::pair<long, long> Span(const Regex& re, int slot, const char* subject) {
  if (!re.groupStart[slot] || !re.groupEnd[slot]) {
    return {-1, -1};
  }
  return {re.groupStart[slot] - subject, re.groupEnd[slot] - subject};
}

// The match text of the last search, or "(none)" when there is none.
inline std::string MatchTextOf(const Regex& re) {
  return re.MatchText() ? std::string(re.MatchText()) : std::string("(none)");
}

// A file of tests/fixtures/regex/ as one string.
inline std::string ReadFixture(const char* name) {
  std::ifstream file(std::string(TUNEDECK_FIXTURES) + "/regex/" + name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

inline constexpr const char* kAlbumArtPattern = "<image size=\"large\">[^<]+<";
