// Converts decoded samples of any rate and channel count to the output's rate in stereo,
// through SDL's audio stream. A format equal to the output's passes straight through.
#pragma once

#include "audio/Decoder.h"

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace audio {

class Resampler {
 public:
  Resampler(PcmFormat in, long outRate);
  ~Resampler();
  Resampler(const Resampler&) = delete;
  Resampler& operator=(const Resampler&) = delete;

  bool ok() const noexcept { return passThrough_ || stream_ != nullptr; }
  PcmFormat input() const noexcept { return in_; }

  // Converts `samples` (interleaved, input format) and appends stereo output to `out`.
  void Convert(std::span<const std::int16_t> samples, std::vector<std::int16_t>& out);
  // Appends what the converter still holds (before a format change or at the end).
  void Drain(std::vector<std::int16_t>& out);

 private:
  void Take(std::vector<std::int16_t>& out);

  PcmFormat in_;
  bool passThrough_;
  SDL_AudioStream* stream_ = nullptr;
};

}  // namespace audio
