// Measures what SDL's disk audio driver wrote (SDL_AUDIODRIVER=disk, SDL_DISKAUDIOFILE=path):
// raw 16-bit little-endian stereo frames at the output rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace sound {

struct Recording {
  std::vector<std::int16_t> left;  // the first channel
  std::vector<std::int16_t> right;
  long rate = 44100;

  std::size_t frames() const { return left.size(); }
  double Seconds(std::size_t frames) const { return static_cast<double>(frames) / rate; }
};

// The whole file as it is now (a partly written last frame is left out).
Recording ReadDiskAudio(const std::string& path, long rate = 44100);

// A part of a recording, in frames; `count` is cut at the end.
struct Span {
  std::size_t first = 0;
  std::size_t count = 0;
};

// Root mean square of the left channel over `span`, in sample units (0..32767).
double Level(const Recording& r, Span span);
// Frequency of the left channel over `span` from its rising zero crossings, in Hz; 0 for none.
// Periods that span a gap are left out, so a tone with gaps still measures right.
double FrequencyHz(const Recording& r, Span span);
// The first frame whose magnitude exceeds `threshold`; frames() when there is none.
std::size_t FirstSound(const Recording& r, std::int16_t threshold = 300);
// One past the last frame whose magnitude exceeds `threshold`; 0 when there is none.
std::size_t EndOfSound(const Recording& r, std::int16_t threshold = 300);

struct Gap {
  std::size_t first;
  std::size_t count;
  bool operator==(const Gap&) const = default;
};
// For test failures: where a gap is and how long.
inline void PrintTo(const Gap& gap, std::ostream* out) {
  *out << "{frame " << gap.first << ", " << gap.count << " frames}";
}
// Runs of at least `minFrames` frames whose magnitude stays at or below `threshold`, within
// `span`. A pure tone crosses zero, so `minFrames` must be longer than half its period.
std::vector<Gap> Silences(const Recording& r, Span span, std::size_t minFrames,
                          std::int16_t threshold = 300);

// Frames of `span` outside silences of at least `minGapFrames`: how much sound there is.
std::size_t SoundFrames(const Recording& r, Span span, std::size_t minGapFrames = 44,
                        std::int16_t threshold = 300);

}  // namespace sound
