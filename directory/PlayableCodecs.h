// The codecs, as the open directory names them, that the audio engine decodes: only stations
// in one of these become rows.
#pragma once

#include <string_view>

inline constexpr std::string_view kPlayableCodecs[] = {"MP3", "OGG", "AAC", "AAC+", "OPUS"};
