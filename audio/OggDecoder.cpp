// Ogg of either codec: each run of links goes to the decoder for its codec, and a link of the
// other codec starts the other decoder where the run ends. A link of a codec we do not decode
// ends the stream.
#include "audio/Decoder.h"
#include "audio/OggLinks.h"

namespace audio {

namespace {

class OggDecoder final : public Decoder {
 public:
  explicit OggDecoder(ByteSource& source) : links_(source) {}

  bool Next(DecodedBlock& block) override {
    for (;;) {
      if (!run_) {
        switch (links_.NextRun()) {
          case OggCodec::Vorbis:
            run_ = MakeVorbisDecoder(links_);
            break;
          case OggCodec::Opus:
            run_ = MakeOpusDecoder(links_);
            break;
          case OggCodec::None:
            return false;
        }
      }
      if (run_->Next(block)) {
        return true;
      }
      // A run that failed in its own codec ends the stream; one that met the other codec hands
      // over.
      if (!links_.CodecChanges()) {
        return false;
      }
      run_.reset();
    }
  }

  unsigned Bitrate() const override { return run_ ? run_->Bitrate() : 0; }
  std::size_t PendingInput() const override { return 0; }

 private:
  OggLinks links_;
  std::unique_ptr<Decoder> run_;
};

}  // namespace

std::unique_ptr<Decoder> MakeOggDecoder(ByteSource& source) {
  return std::make_unique<OggDecoder>(source);
}

}  // namespace audio
