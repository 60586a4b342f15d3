#include "audio/Mp4Fragments.h"
#include "audio/SegmentAudio.h"

#include <cstdlib>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  audio::SegmentAudio audio;
  // A first byte 'M' makes the rest an initialisation section and then the segment.
  std::optional<audio::Mp4Track> track;
  if (size > 0 && data[0] == 'M') {
    track = audio::ParseInitSection({data + 1, size - 1});
    if (!track) {
      track = audio::Mp4Track{};
    }
  }
  if (audio::AudioOfSegment({data, size}, track ? &*track : nullptr, audio)) {
    for (const auto& title : audio.titles) {
      if (title.offset > audio.bytes.size() || title.text.rfind("StreamTitle='", 0) != 0) {
        std::abort();
      }
    }
  }
  return 0;
}
