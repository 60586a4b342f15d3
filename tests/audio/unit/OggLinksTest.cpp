// Splitting chained Ogg into runs of one codec: each run says its codec, and the pages of all
// runs together are the input, whole and unchanged.
#include "audio/OggLinks.h"
#include "tests/audio/unit/MemorySource.h"

#include <gtest/gtest.h>

namespace audio {
namespace {

TEST(OggLinks, RunsOfOneCodecCarryThePagesUnchanged) {
  const std::vector<std::uint8_t> input = Fixture("vorbis-opus-vorbis.ogg");
  for (std::size_t piece : {1, 4096}) {
    MemorySource source(input, piece);
    OggLinks links(source);
    std::vector<OggCodec> runs;
    std::vector<std::uint8_t> pages;
    for (OggCodec codec = links.NextRun(); codec != OggCodec::None; codec = links.NextRun()) {
      runs.push_back(codec);
      std::uint8_t out[1000];
      while (std::size_t n = links.Read(out, sizeof out)) {
        pages.insert(pages.end(), out, out + n);
      }
      EXPECT_EQ(links.CodecChanges(), runs.size() < 3) << piece;
    }
    EXPECT_EQ(runs, (std::vector{OggCodec::Vorbis, OggCodec::Opus, OggCodec::Vorbis})) << piece;
    EXPECT_EQ(pages, input) << piece;
  }
}

}  // namespace
}  // namespace audio
