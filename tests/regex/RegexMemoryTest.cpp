// Heap blocks the engine cannot obtain. This test program is linked with --wrap for malloc and
// calloc, so every call from the engine goes through the wrappers below, which refuse while a
// test holds a RefusedBlocks.
#include <cstddef>

#include "tests/regex/RegexTestSupport.h"

extern "C" void* __real_malloc(std::size_t size);
extern "C" void* __real_calloc(std::size_t count, std::size_t size);

namespace {

bool refuseBlocks = false;

class RefusedBlocks {
 public:
  RefusedBlocks() { refuseBlocks = true; }
  ~RefusedBlocks() { refuseBlocks = false; }
};

}  // namespace

extern "C" void* __wrap_malloc(std::size_t size) {
  return refuseBlocks ? nullptr : __real_malloc(size);
}

extern "C" void* __wrap_calloc(std::size_t count, std::size_t size) {
  return refuseBlocks ? nullptr : __real_calloc(count, size);
}

namespace {

TEST(RegexMemory, RefusedProgramBlockLeavesNoProgramAndNoHints) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "x*abc"));
  ASSERT_NE(re.requiredText, nullptr);
  {
    RefusedBlocks refused;
    EXPECT_EQ(re.Compile("qrs"), nullptr);
  }
  EXPECT_EQ(re.program, nullptr);
  EXPECT_EQ(re.programSize, 0);
  EXPECT_EQ(re.requiredText, nullptr) << "it pointed into the released program";
  EXPECT_EQ(re.firstChar, 0);
  EXPECT_EQ(re.anchored, 0);
  EXPECT_EQ(re.Execute("xxabc qrs"), -1);
  EXPECT_EQ(re.MatchText(), nullptr);

  ASSERT_TRUE(Compiles(re, "qrs"));
  EXPECT_EQ(re.Execute("xxabc qrs"), 6);
}

TEST(RegexMemory, RefusedMatchCopyMakesTheSearchFail) {
  Regex re;
  ASSERT_TRUE(Compiles(re, "b+"));
  {
    RefusedBlocks refused;
    EXPECT_EQ(re.Execute("abbc"), -1);
  }
  EXPECT_EQ(re.MatchText(), nullptr);
  EXPECT_EQ(re.Execute("abbc"), 1);
  EXPECT_STREQ(re.MatchText(), "bb");
}

}  // namespace
