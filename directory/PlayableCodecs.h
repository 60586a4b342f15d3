// The codecs, as the open directory names them, that the audio engine decodes: only stations
// in one of these become rows.
#pragma once

#include <algorithm>
#include <string_view>

inline constexpr std::string_view kPlayableCodecs[] = {"MP3", "OGG", "AAC", "AAC+", "OPUS"};

// True when the directory's codec value names a codec of kPlayableCodecs, in any case. A video
// stream's value lists the audio codec first ("AAC,H.264"): that part counts. "UNKNOWN", "FLAC"
// and anything else give false.
inline bool IsPlayableCodec(std::string_view value) {
  const std::string_view audio = value.substr(0, value.find(','));
  return std::any_of(
      std::begin(kPlayableCodecs), std::end(kPlayableCodecs), [audio](std::string_view codec) {
        return std::equal(
            audio.begin(), audio.end(), codec.begin(), codec.end(),
            [](char a, char b) { return (a >= 'a' && a <= 'z' ? a - 'a' + 'A' : a) == b; });
      });
}
