// First byte picks the interval, the second the read size; the rest is the stream. Whatever the
// reads, the audio and metadata must come out the same.
#include "audio/IcyDemuxer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) {
    return 0;
  }
  std::size_t metaint = data[0];
  std::size_t piece = std::size_t{data[1]} + 1;
  std::span<const std::uint8_t> stream(data + 2, size - 2);

  audio::IcyDemuxer whole(metaint);
  audio::IcyDemuxer::Output once = whole.Feed(stream);

  audio::IcyDemuxer pieces(metaint);
  std::vector<std::uint8_t> audio;
  std::size_t texts = 0;
  for (std::size_t i = 0; i < stream.size(); i += piece) {
    auto out = pieces.Feed(stream.subspan(i, std::min(piece, stream.size() - i)));
    audio.insert(audio.end(), out.audio.begin(), out.audio.end());
    texts += out.metadata.size();
  }
  if (audio != once.audio || texts != once.metadata.size()) {
    std::abort();
  }
  return 0;
}
