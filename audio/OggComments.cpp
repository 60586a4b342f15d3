#include "audio/OggComments.h"

#include <cstring>

namespace audio {

std::string CommentBlock(const char* const* texts, const int* lengths, int count) {
  std::string block;
  for (int i = 0; i < count; ++i) {
    if (texts[i] != nullptr && lengths[i] > 0) {
      block.append(texts[i], strnlen(texts[i], static_cast<std::size_t>(lengths[i])));
      block += '\0';
    }
  }
  block += '\0';
  return block;
}

}  // namespace audio
