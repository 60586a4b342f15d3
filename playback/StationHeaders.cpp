#include "playback/StationHeaders.h"

#include <strings.h>

#include <cstring>

#include "audio/AudioLibrary.h"

const char* StationHeaders(DWORD stream) {
  const char* tags = BASS_ChannelGetTags(stream, BASS_TAG_ICY);
  return tags != nullptr ? tags : BASS_ChannelGetTags(stream, BASS_TAG_HTTP);
}

const char* LastHeaderValue(const char* headers, std::initializer_list<std::string_view> names) {
  const char* value = nullptr;
  for (const char* line = headers; line != nullptr && *line != '\0';
       line += std::strlen(line) + 1) {
    for (const std::string_view name : names) {
      if (strncasecmp(line, name.data(), name.size()) == 0) {
        value = line + name.size();
      }
    }
  }
  return value;
}
