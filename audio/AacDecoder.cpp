// AAC, HE-AAC and HE-AAC v2 in ADTS frames through faad2. The framer hands over whole frames
// only; faad2 decodes SBR and parametric stereo itself and reports the rate and channel count
// it really puts out (twice the header's rate when SBR is present). faad2 keeps the set-up of
// the first frame it saw, so a stream whose rate, channels or object type change gets a fresh
// decoder there.
#include "audio/AdtsFramer.h"
#include "audio/Decoder.h"

#include <neaacdec.h>

#include <memory>
#include <optional>

namespace audio {

namespace {

// Frames in a row that faad2 refuses before the stream counts as broken.
constexpr int kMaxErrorsInARow = 8;
// Output beyond this many channels is not supported by the converter.
constexpr int kMaxChannels = 8;

struct FaadDeleter {
  void operator()(void* h) const noexcept { NeAACDecClose(h); }
};
// One faad2 decoder, set up for 16-bit output; null when faad2 could not make one.
class FaadHandle {
 public:
  FaadHandle() : handle_(NeAACDecOpen()) {
    if (handle_) {
      NeAACDecConfigurationPtr config = NeAACDecGetCurrentConfiguration(handle_.get());
      config->outputFormat = FAAD_FMT_16BIT;
      config->downMatrix = 0;
      if (NeAACDecSetConfiguration(handle_.get(), config) == 0) {
        handle_.reset();
      }
    }
  }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  // Reads the stream's set-up from its first frame; false when faad2 cannot decode it.
  bool Init(std::span<const std::uint8_t> frame) {
    unsigned long rate = 0;
    unsigned char channels = 0;
    return NeAACDecInit(handle_.get(), const_cast<unsigned char*>(frame.data()), frame.size(),
                        &rate, &channels) >= 0;
  }
  // The samples of one whole frame, interleaved, valid until the next call; null on an error.
  const std::int16_t* Decode(std::span<const std::uint8_t> frame, NeAACDecFrameInfo& info) {
    info = NeAACDecFrameInfo{};
    void* pcm = NeAACDecDecode(handle_.get(), &info, const_cast<unsigned char*>(frame.data()),
                               frame.size());
    return info.error == 0 ? static_cast<const std::int16_t*>(pcm) : nullptr;
  }

 private:
  std::unique_ptr<void, FaadDeleter> handle_;
};

class AacDecoder final : public Decoder {
 public:
  explicit AacDecoder(ByteSource& source) : framer_(source) {}

  bool Next(DecodedBlock& block) override {
    int errors = 0;
    for (;;) {
      std::span<const std::uint8_t> frame = framer_.Next();
      if (frame.empty()) {
        return false;
      }
      const std::optional<AdtsHeader> setup = ParseAdtsHeader(frame);
      if (setup_ && !setup->SameStream(*setup_)) {
        faad_ = FaadHandle();
        initialised_ = false;
      }
      setup_ = setup;
      if (!initialised_) {
        initialised_ = faad_ && faad_.Init(frame);
      }
      NeAACDecFrameInfo info{};
      const std::int16_t* pcm = initialised_ ? faad_.Decode(frame, info) : nullptr;
      const bool usable = pcm != nullptr && info.channels >= 1 && info.channels <= kMaxChannels &&
                          info.samplerate > 0;
      if (!usable) {
        if (++errors > kMaxErrorsInARow) {
          return false;
        }
        continue;
      }
      errors = 0;
      if (info.samples == 0) {
        continue;  // the decoder's delay
      }
      block = DecodedBlock{};
      block.format = {static_cast<long>(info.samplerate), info.channels};
      block.samples = {pcm, info.samples};
      return true;
    }
  }

  unsigned Bitrate() const override { return framer_.Kbps(); }
  std::size_t PendingInput() const override { return framer_.Pending(); }

 private:
  AdtsFramer framer_;
  std::optional<AdtsHeader> setup_;  // of the frames the decoder was made for
  FaadHandle faad_;
  bool initialised_ = false;
};

}  // namespace

std::unique_ptr<Decoder> MakeAacDecoder(ByteSource& source) {
  return std::make_unique<AacDecoder>(source);
}

}  // namespace audio
