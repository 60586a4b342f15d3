// First byte picks the interval, the second the read size; the rest is the stream. Whatever the
// reads, the audio and metadata must come out the same.
#include "audio/IcyDemuxer.h"

#include <cstddef>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) {
    return 0;
  }
  std::size_t metaint = data[0];
  std::size_t piece = std::size_t{data[1]} + 1;
  const std::vector<std::uint8_t> stream(data + 2, data + size);

  audio::IcyDemuxer whole(metaint);
  std::vector<std::uint8_t> once = stream;
  const std::size_t onceTexts = whole.TakeOut(once).size();

  audio::IcyDemuxer pieces(metaint);
  std::vector<std::uint8_t> audio;
  std::size_t texts = 0;
  for (std::size_t i = 0; i < stream.size(); i += piece) {
    std::vector<std::uint8_t> read(
        stream.begin() + static_cast<std::ptrdiff_t>(i),
        stream.begin() + static_cast<std::ptrdiff_t>(std::min(i + piece, stream.size())));
    texts += pieces.TakeOut(read).size();
    audio.insert(audio.end(), read.begin(), read.end());
  }
  if (audio != once || texts != onceTexts) {
    std::abort();
  }
  return 0;
}
