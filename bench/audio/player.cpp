// A small player on the audio engine alone: plays one address until the stream ends or the
// given number of seconds has passed, printing on stderr when it connected and each new title.
// With SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/stdout it writes what it plays to stdout.
//   tunedeck_player URL [SECONDS]
#include "audio/AudioLibrary.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>

namespace {

using Clock = std::chrono::steady_clock;

std::promise<void> ended;

void CALLBACK OnEnd(HSYNC, DWORD, DWORD, void*) {
  ended.set_value();
}

void CALLBACK OnMeta(HSYNC, DWORD channel, DWORD, void*) {
  if (const char* meta = BASS_ChannelGetTags(channel, BASS_TAG_META)) {
    std::fprintf(stderr, "meta: %s\n", meta);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s URL [SECONDS]\n", argv[0]);
    return 2;
  }
  const auto start = Clock::now();
  const double seconds = argc > 2 ? std::atof(argv[2]) : 1e6;
  if (!BASS_Init(-1, 44100, 0, nullptr, nullptr)) {
    std::fprintf(stderr, "no sound output (error %d)\n", BASS_ErrorGetCode());
    return 1;
  }
  BASS_SetConfig(BASS_CONFIG_NET_PLAYLIST, 1);
  BASS_SetConfig(BASS_CONFIG_NET_PREBUF, 0);
  HSTREAM stream = BASS_StreamCreateURL(argv[1], 0, BASS_STREAM_BLOCK, nullptr, nullptr);
  if (stream == 0) {
    std::fprintf(stderr, "cannot play %s (error %d)\n", argv[1], BASS_ErrorGetCode());
    BASS_Free();
    return 1;
  }
  std::fprintf(stderr, "connected after %.0f ms\n",
               std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, OnEnd, nullptr);
  BASS_ChannelSetSync(stream, BASS_SYNC_META, 0, OnMeta, nullptr);
  BASS_ChannelPlay(stream, FALSE);
  ended.get_future().wait_until(
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
  BASS_Free();
  return 0;
}
