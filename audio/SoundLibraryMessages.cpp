#include "audio/SoundLibraryMessages.h"

#include <cstdarg>

#include <alsa/error.h>

namespace audio {
namespace {

void Discard(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void SilenceSoundLibraryMessages() noexcept {
  // SDL loads the same shared library: the handler set here is the one it reports through.
  snd_lib_error_set_handler(Discard);
}

}  // namespace audio
