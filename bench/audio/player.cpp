// A small player on the audio engine alone: plays one address until the stream ends or the
// given number of seconds has passed. Prints when the first sound was handed to the output.
//   tunedeck_player URL [SECONDS]
#include "audio/AudioLibrary.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::atomic<bool> ended{false};

void CALLBACK OnEnd(HSYNC, DWORD, DWORD, void*) {
  ended = true;
}

void CALLBACK OnMeta(HSYNC, DWORD channel, DWORD, void*) {
  if (const char* meta = BASS_ChannelGetTags(channel, BASS_TAG_META)) {
    std::printf("meta: %s\n", meta);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s URL [SECONDS]\n", argv[0]);
    return 2;
  }
  double seconds = argc > 2 ? std::atof(argv[2]) : 1e9;
  if (!BASS_Init(-1, 44100, 0, nullptr, nullptr)) {
    std::fprintf(stderr, "no sound output (error %d)\n", BASS_ErrorGetCode());
    return 1;
  }
  BASS_SetConfig(BASS_CONFIG_NET_PLAYLIST, 1);
  BASS_SetConfig(BASS_CONFIG_NET_PREBUF, 0);
  auto start = std::chrono::steady_clock::now();
  HSTREAM stream = BASS_StreamCreateURL(argv[1], 0, BASS_STREAM_BLOCK, nullptr, nullptr);
  if (stream == 0) {
    std::fprintf(stderr, "cannot play %s (error %d)\n", argv[1], BASS_ErrorGetCode());
    BASS_Free();
    return 1;
  }
  BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, OnEnd, nullptr);
  BASS_ChannelSetSync(stream, BASS_SYNC_META, 0, OnMeta, nullptr);
  BASS_ChannelPlay(stream, FALSE);
  while (!ended &&
         std::chrono::steady_clock::now() - start < std::chrono::duration<double>(seconds)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  BASS_Free();
  return 0;
}
