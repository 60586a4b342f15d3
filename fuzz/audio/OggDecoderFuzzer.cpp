// Ogg links of Vorbis and Opus, split and decoded, from any bytes.
#include "fuzz/audio/CompressedDecoderFuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzzing::DecodeAll(data, size, audio::MakeOggDecoder);
}
