// Comments of an Ogg logical stream (Vorbis comments, OpusTags) as a tag block: NUL-terminated
// strings ended by an empty one.
#pragma once

#include <string>

namespace audio {

// `texts[i]` holds `lengths[i]` bytes, not necessarily NUL-terminated; a NUL inside one ends it.
std::string CommentBlock(const char* const* texts, const int* lengths, int count);

}  // namespace audio
