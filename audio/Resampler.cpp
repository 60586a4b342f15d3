#include "audio/Resampler.h"

namespace audio {

Resampler::Resampler(PcmFormat in, long outRate)
    : in_(in), passThrough_(in.rate == outRate && in.channels == 2) {
  if (!passThrough_ && in.channels > 0 && in.channels <= 8 && in.rate > 0) {
    stream_ =
        SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(in.channels), static_cast<int>(in.rate),
                           AUDIO_S16SYS, 2, static_cast<int>(outRate));
  }
}

Resampler::~Resampler() {
  if (stream_ != nullptr) {
    SDL_FreeAudioStream(stream_);
  }
}

void Resampler::Convert(std::span<const std::int16_t> samples, std::vector<std::int16_t>& out) {
  if (passThrough_) {
    out.insert(out.end(), samples.begin(), samples.end());
    return;
  }
  if (stream_ == nullptr || samples.empty()) {
    return;
  }
  SDL_AudioStreamPut(stream_, samples.data(), static_cast<int>(samples.size_bytes()));
  Take(out);
}

void Resampler::Drain(std::vector<std::int16_t>& out) {
  if (stream_ != nullptr) {
    SDL_AudioStreamFlush(stream_);
    Take(out);
  }
}

void Resampler::Take(std::vector<std::int16_t>& out) {
  int available = SDL_AudioStreamAvailable(stream_);
  if (available <= 0) {
    return;
  }
  std::size_t old = out.size();
  out.resize(old + static_cast<std::size_t>(available) / sizeof(std::int16_t));
  int got = SDL_AudioStreamGet(stream_, out.data() + old, available);
  out.resize(old + static_cast<std::size_t>(got > 0 ? got : 0) / sizeof(std::int16_t));
}

}  // namespace audio
