// Ogg Vorbis through vorbisfile, read as a live stream (no seeking). Chained logical streams
// may change rate, channel count and comments; each new one is announced with its comments.
// The Ogg decoder gives it only Vorbis links.
#include "audio/Decoder.h"
#include "audio/OggComments.h"

#include <vorbis/vorbisfile.h>

#include <array>

namespace audio {

namespace {

constexpr int kMaxErrorsInARow = 8;
// Output beyond this many channels is not supported by the converter.
constexpr int kMaxChannels = 8;

// vorbisfile reads in items of one byte.
std::size_t ReadFromSource(void* out, std::size_t size, std::size_t count, void* source) {
  if (size == 0) {
    return 0;
  }
  std::size_t got =
      static_cast<ByteSource*>(source)->Read(static_cast<std::uint8_t*>(out), size * count);
  return got / size;
}

class VorbisDecoder final : public Decoder {
 public:
  explicit VorbisDecoder(ByteSource& source) : source_(source) {}
  ~VorbisDecoder() override {
    if (open_) {
      ov_clear(&file_);
    }
  }

  bool Next(DecodedBlock& block) override {
    if (!open_ && !Open()) {
      return false;
    }
    int errors = 0;
    for (;;) {
      int bitstream = 0;
      long bytes =
          ov_read(&file_, reinterpret_cast<char*>(pcm_.data()),
                  static_cast<int>(pcm_.size() * sizeof(std::int16_t)), 0, 2, 1, &bitstream);
      if (bytes == 0) {
        return false;
      }
      if (bytes < 0) {
        if (bytes != OV_HOLE && ++errors > kMaxErrorsInARow) {
          return false;
        }
        continue;
      }
      block = DecodedBlock{};
      if (!started_ || bitstream != bitstream_) {
        started_ = true;
        bitstream_ = bitstream;
        const vorbis_info* info = ov_info(&file_, -1);
        if (info == nullptr || info->channels < 1 || info->channels > kMaxChannels ||
            info->rate <= 0) {
          return false;
        }
        format_ = {info->rate, info->channels};
        if (info->bitrate_nominal > 0) {
          bitrate_ = static_cast<unsigned>(info->bitrate_nominal / 1000);
        }
        block.newLogicalStream = true;
        const vorbis_comment* vc = ov_comment(&file_, -1);
        block.comments = vc != nullptr
                             ? CommentBlock(vc->user_comments, vc->comment_lengths, vc->comments)
                             : std::string(1, '\0');
      }
      block.format = format_;
      block.samples = {pcm_.data(), static_cast<std::size_t>(bytes) / sizeof(std::int16_t)};
      return true;
    }
  }

  unsigned Bitrate() const override { return bitrate_; }
  // Ogg carries no in-band metadata whose position would matter.
  std::size_t PendingInput() const override { return 0; }

 private:
  bool Open() {
    ov_callbacks callbacks{ReadFromSource, nullptr, nullptr, nullptr};
    open_ = ov_open_callbacks(&source_, &file_, nullptr, 0, callbacks) == 0;
    return open_;
  }

  ByteSource& source_;
  OggVorbis_File file_{};
  bool open_ = false;
  bool started_ = false;
  int bitstream_ = 0;
  PcmFormat format_;
  unsigned bitrate_ = 0;
  std::array<std::int16_t, 4096> pcm_{};
};

}  // namespace

std::unique_ptr<Decoder> MakeVorbisDecoder(ByteSource& source) {
  return std::make_unique<VorbisDecoder>(source);
}

}  // namespace audio
