// Finding ADTS frames in a byte stream: from any start, in pieces of any size, the frames handed
// out are whole, each as long as its header says, and back to back to the end of the input.
#include "audio/AdtsFramer.h"
#include "tests/audio/unit/MemorySource.h"

#include <gtest/gtest.h>

namespace audio {
namespace {

TEST(AdtsFramer, FramesFromAnyStartAreWholeAndBackToBack) {
  const std::vector<std::uint8_t> file = Fixture("tone-440.aac");
  for (std::size_t start : {0, 1001}) {
    for (std::size_t piece : {1, 4096}) {
      SCOPED_TRACE(std::to_string(start) + " " + std::to_string(piece));
      const std::vector<std::uint8_t> input(file.begin() + static_cast<std::ptrdiff_t>(start),
                                            file.end());
      MemorySource source(input, piece);
      AdtsFramer framer(source);
      std::vector<std::uint8_t> frames;
      int count = 0;
      for (std::span<const std::uint8_t> frame = framer.Next(); !frame.empty();
           frame = framer.Next()) {
        const std::optional<AdtsHeader> header = ParseAdtsHeader(frame);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->frameBytes, frame.size());
        frames.insert(frames.end(), frame.begin(), frame.end());
        ++count;
      }
      EXPECT_GT(count, 10);
      ASSERT_LE(frames.size(), input.size());
      EXPECT_TRUE(std::equal(frames.begin(), frames.end(), input.end() - frames.size()));
      EXPECT_LT(input.size() - frames.size(), start == 0 ? 1u : 1000u);  // only the cut frame
      EXPECT_GT(framer.Kbps(), 0u);
      EXPECT_EQ(framer.Pending(), 0u);
    }
  }
}

}  // namespace
}  // namespace audio
