// ALSA writes its own complaints (no card, an unknown PCM) to standard error while SDL looks
// for a sound device; the program says what matters on its status line instead.
#pragma once

namespace audio {

// From now on ALSA's library messages go nowhere. Any thread; once is enough.
void SilenceSoundLibraryMessages() noexcept;

}  // namespace audio
