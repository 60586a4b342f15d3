// A small regular-expression engine for 8-bit, NUL-terminated text: a compiler into a chain of
// nodes (RegexCompiler.cpp) and a backtracking matcher (RegexMatcher.cpp). Every comparison is an
// exact byte comparison. One record serves one caller at a time; separate records are independent.
#pragma once

#include <cstdint>

#include "regex/RegexProgram.h"

// Bounds of one search. A search that would recurse deeper than kMaxMatchDepth, or take more than
// kMaxMatchSteps steps (a node handled or a repetition count tried), gives up and finds nothing,
// so that no pattern and no subject can overflow the stack or keep the caller waiting.
// The album-art pattern needs a depth of 2 and a few steps per '<' of its subject, so a 64 KB
// reply stays far inside both bounds. At the depth bound a search needs under 512 KB of stack
// in an optimised build.
inline constexpr int kMaxMatchDepth = 4000;
inline constexpr long kMaxMatchSteps = 1L << 22;

struct Regex {
  std::int32_t emitting = 0;  // 0 in the sizing pass of Compile, 1 in its emitting pass
  std::int32_t compiled = 0;  // 1 once Compile was given a pattern text; never cleared
  char* matchCopy = nullptr;  // owned: text of the last whole match, null if it found nothing
  const char* groupStart[kGroupSlots] = {};  // into the subject; slot 0 is the whole match
  const char* groupEnd[kGroupSlots] = {};    // one past the last character
  char firstChar = 0;                        // hint: every match begins with it; 0 for none
  std::uint8_t anchored = 0;                 // hint: a match can only begin at the subject start
  const char* requiredText = nullptr;  // hint: a literal inside program that every match holds
  std::uint8_t* program = nullptr;     // owned: the compiled nodes
  const char* parsePos = nullptr;      // compiler: next pattern character
  std::int32_t nextGroup = 1;          // compiler: number of the next capture group
  std::uint8_t* emitPos = nullptr;     // compiler: where the next byte goes
  std::uint8_t scratchNode[kNodeSize] = {};  // stands for every node of the sizing pass
  std::int32_t programSize = 0;              // size of program in bytes
  const char* input = nullptr;               // matcher: current position in the subject
  const char* subjectStart = nullptr;        // matcher: start of the subject

  Regex() = default;
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  // Compiles the NUL-terminated pattern into this record. Returns this record, or null on a
  // syntax error, a null pattern or a program that cannot be held. After a syntax error the
  // previous program stays in force; after a failure to obtain the program block there is no
  // program and searches find nothing.
  Regex* Compile(const char* pattern);

  // Searches the NUL-terminated subject for the leftmost match. Returns the match start's offset
  // from the subject start, or -1: no match, a null subject, no program, a search beyond its
  // bounds, or no memory for the match text. At 0 or more, MatchText() holds the match.
  int Execute(const char* subject);

  // The text of the last whole match, NUL-terminated, or null if the last search found nothing.
  // Owned by the record; valid until the next Execute or the record's end.
  const char* MatchText() const { return matchCopy; }

  // Length of the last whole match; 0 when its slots are unset.
  int MatchLength() const;
};
