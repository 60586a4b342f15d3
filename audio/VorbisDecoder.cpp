// Ogg Vorbis through vorbisfile, read as a live stream (no seeking). Chained logical streams
// may change rate, channel count and comments; each new one is announced with its comments.
#include "audio/Decoder.h"

#include <vorbis/vorbisfile.h>

#include <array>
#include <cstring>

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

std::string CommentBlock(const vorbis_comment* vc) {
  std::string block;
  if (vc != nullptr) {
    for (int i = 0; i < vc->comments; ++i) {
      const char* text = vc->user_comments[i];
      std::size_t length = static_cast<std::size_t>(vc->comment_lengths[i]);
      block.append(text, strnlen(text, length));
      block += '\0';
    }
  }
  block += '\0';
  return block;
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
        block.comments = CommentBlock(ov_comment(&file_, -1));
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
