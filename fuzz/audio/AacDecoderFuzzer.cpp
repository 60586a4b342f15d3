// ADTS framing and AAC decoding of any bytes.
#include "fuzz/audio/CompressedDecoderFuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzzing::DecodeAll(data, size, audio::MakeAacDecoder);
}
