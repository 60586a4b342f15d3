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
  std::vector<std::size_t> periods;
  std::size_t last = 0;
  for (std::size_t i = span.first + 1; i < span.first + span.count; ++i) {
    if (r.left[i - 1] < 0 && r.left[i] >= 0) {
      if (last != 0) {
        periods.push_back(i - last);
      }
      last = i;
    }
  }
  if (periods.empty()) {
    return 0;
  }
  // A period that spans a gap, or is cut short where one begins, is no period of the tone:
  // leave out the ones far from the median.
  std::vector<std::size_t> sorted = periods;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const double median = static_cast<double>(sorted[sorted.size() / 2]);
  double frames = 0;
  std::size_t counted = 0;
  for (std::size_t p : periods) {
    if (static_cast<double>(p) <= 1.5 * median && static_cast<double>(p) >= median / 1.5) {
      frames += static_cast<double>(p);
      ++counted;
    }
  }
  return static_cast<double>(counted) * r.rate / frames;
}

std::size_t FirstSound(const Recording& r, std::int16_t threshold) {
  for (std::size_t i = 0; i < r.frames(); ++i) {
    if (std::abs(r.left[i]) > threshold) {
      return i;
    }
  }
  return r.frames();
}

std::size_t EndOfSound(const Recording& r, std::int16_t threshold) {
  for (std::size_t i = r.frames(); i > 0; --i) {
    if (std::abs(r.left[i - 1]) > threshold) {
      return i;
    }
  }
  return 0;
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

std::size_t SoundFrames(const Recording& r, Span span, std::size_t minGapFrames,
                        std::int16_t threshold) {
  span = Clip(r, span);
  std::size_t silent = 0;
  for (const Gap& gap : Silences(r, span, minGapFrames, threshold)) {
    silent += gap.count;
  }
  return span.count - silent;
}

}  // namespace sound
