#include "tests/support/SoundMeasure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace sound {

namespace {

Span Clip(const Recording& r, Span span) {
  span.first = std::min(span.first, r.frames());
  span.count = std::min(span.count, r.frames() - span.first);
  return span;
}

}  // namespace

Recording ReadDiskAudio(const std::string& path, long rate) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Recording r;
  r.rate = rate;
  std::size_t frames = bytes.size() / 4;
  r.left.resize(frames);
  r.right.resize(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + i * 4);
    r.left[i] = static_cast<std::int16_t>(p[0] | (p[1] << 8));
    r.right[i] = static_cast<std::int16_t>(p[2] | (p[3] << 8));
  }
  return r;
}

double Level(const Recording& r, Span span) {
  span = Clip(r, span);
  if (span.count == 0) {
    return 0;
  }
  double sum = 0;
  for (std::size_t i = span.first; i < span.first + span.count; ++i) {
    sum += static_cast<double>(r.left[i]) * r.left[i];
  }
  return std::sqrt(sum / static_cast<double>(span.count));
}

double FrequencyHz(const Recording& r, Span span) {
  span = Clip(r, span);
  std::size_t firstCrossing = 0;
  std::size_t lastCrossing = 0;
  std::size_t crossings = 0;
  for (std::size_t i = span.first + 1; i < span.first + span.count; ++i) {
    if (r.left[i - 1] < 0 && r.left[i] >= 0) {
      if (crossings == 0) {
        firstCrossing = i;
      }
      lastCrossing = i;
      ++crossings;
    }
  }
  if (crossings < 2) {
    return 0;
  }
  return static_cast<double>(crossings - 1) * r.rate /
         static_cast<double>(lastCrossing - firstCrossing);
}

std::size_t FirstSound(const Recording& r, std::int16_t threshold) {
  for (std::size_t i = 0; i < r.frames(); ++i) {
    if (std::abs(r.left[i]) > threshold) {
      return i;
    }
  }
  return r.frames();
}

std::vector<Gap> Silences(const Recording& r, Span span, std::size_t minFrames,
                          std::int16_t threshold) {
  span = Clip(r, span);
  std::vector<Gap> gaps;
  std::size_t runStart = span.first;
  for (std::size_t i = span.first; i <= span.first + span.count; ++i) {
    bool quiet = i < span.first + span.count && std::abs(r.left[i]) <= threshold;
    if (!quiet) {
      if (i - runStart >= minFrames) {
        gaps.push_back({runStart, i - runStart});
      }
      runStart = i + 1;
    }
  }
  return gaps;
}

}  // namespace sound
