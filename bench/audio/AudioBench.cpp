// In-process costs of the engine's hot paths: taking metadata out of a stream, and decoding
// plus rate conversion per second of audio.
#include "audio/Decoder.h"
#include "audio/IcyDemuxer.h"
#include "audio/Resampler.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class MemorySource final : public audio::ByteSource {
 public:
  explicit MemorySource(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  std::size_t Read(std::uint8_t* out, std::size_t max) override {
    std::size_t n = std::min(max, bytes_.size() - at_);
    std::memcpy(out, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

// Ten seconds of a tone encoded by ffmpeg, kept in memory.
const std::vector<std::uint8_t>& Encoded(const std::string& name, const std::string& options) {
  static std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cache;
  for (auto& [n, bytes] : cache) {
    if (n == name) {
      return bytes;
    }
  }
  std::string path = "/tmp/tunedeck-bench-" + name;
  std::string command =
      "ffmpeg -nostdin -loglevel error -y -f lavfi -i " + options + " '" + path + "'";
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "ffmpeg failed\n");
    std::exit(1);
  }
  std::ifstream in(path, std::ios::binary);
  cache.emplace_back(name, std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                                     std::istreambuf_iterator<char>()));
  std::remove(path.c_str());
  return cache.back().second;
}

void DecodeAll(benchmark::State& state, const std::vector<std::uint8_t>& bytes, bool vorbis) {
  std::vector<std::int16_t> out;
  double seconds = 0;
  for (auto _ : state) {
    MemorySource source(bytes);
    auto decoder = vorbis ? audio::MakeVorbisDecoder(source) : audio::MakeMp3Decoder(source);
    std::unique_ptr<audio::Resampler> resampler;
    audio::DecodedBlock block;
    std::size_t frames = 0;
    while (decoder->Next(block)) {
      if (!resampler) {
        resampler = std::make_unique<audio::Resampler>(block.format, 44100);
      }
      out.clear();
      resampler->Convert(block.samples, out);
      frames += out.size() / 2;
    }
    seconds += static_cast<double>(frames) / 44100;
  }
  state.counters["audio_s_per_s"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}

void BM_DecodeMp3_128k_Stereo(benchmark::State& state) {
  DecodeAll(
      state,
      Encoded("stereo.mp3",
              "sine=frequency=440:sample_rate=44100:duration=10 -ac 2 -c:a libmp3lame -b:a 128k"),
      false);
}
BENCHMARK(BM_DecodeMp3_128k_Stereo)->Unit(benchmark::kMillisecond);

void BM_DecodeMp3_22k_MonoConverted(benchmark::State& state) {
  DecodeAll(
      state,
      Encoded("mono.mp3",
              "sine=frequency=440:sample_rate=22050:duration=10 -ac 1 -c:a libmp3lame -b:a 32k"),
      false);
}
BENCHMARK(BM_DecodeMp3_22k_MonoConverted)->Unit(benchmark::kMillisecond);

void BM_DecodeVorbis_Stereo(benchmark::State& state) {
  DecodeAll(state,
            Encoded("stereo.ogg",
                    "sine=frequency=440:sample_rate=44100:duration=10 -ac 2 -c:a libvorbis"),
            true);
}
BENCHMARK(BM_DecodeVorbis_Stereo)->Unit(benchmark::kMillisecond);

void BM_IcyDemuxer(benchmark::State& state) {
  const std::size_t metaint = 16000;
  std::vector<std::uint8_t> stream;
  for (int block = 0; block < 64; ++block) {
    stream.insert(stream.end(), metaint, static_cast<std::uint8_t>(block));
    std::string text = "StreamTitle='Artist " + std::to_string(block) + " - Title';";
    std::size_t units = (text.size() + 15) / 16;
    stream.push_back(static_cast<std::uint8_t>(units));
    text.resize(units * 16, '\0');
    stream.insert(stream.end(), text.begin(), text.end());
  }
  std::vector<std::uint8_t> read;  // as the stream's download takes one read after another
  for (auto _ : state) {
    audio::IcyDemuxer demuxer(metaint);
    for (std::size_t i = 0; i < stream.size(); i += 16384) {
      read.assign(stream.begin() + static_cast<std::ptrdiff_t>(i),
                  stream.begin() + static_cast<std::ptrdiff_t>(std::min(i + 16384, stream.size())));
      auto texts = demuxer.TakeOut(read);
      benchmark::DoNotOptimize(texts);
      benchmark::DoNotOptimize(read.data());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_IcyDemuxer);

}  // namespace
