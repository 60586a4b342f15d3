// Any bytes as ICY metadata and as Ogg comments: the texts always fit their rooms.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "playback/TitleFromMetadata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  if (const auto texts = TitleFromStreamMeta(bytes)) {
    if (texts->artist.size() > titlePartBytes || texts->title.size() > titlePartBytes ||
        texts->status.size() > kMaxTextCharacters) {
      __builtin_trap();
    }
  }

  // The engine's comment series always ends with an empty text.
  const std::string comments = std::string(bytes) + std::string(2, '\0');
  if (const auto texts = TitleFromOggComments(comments.c_str())) {
    const std::size_t statusRoom = texts->artist ? oggStatusBytes : kMaxTextCharacters;
    if ((texts->artist && texts->artist->size() > kMaxTextCharacters) ||
        texts->status.size() > statusRoom) {
      __builtin_trap();
    }
  }
  return 0;
}
