// Ogg Opus through opusfile, read as a live stream (no seeking). Opus always decodes at 48 kHz;
// opusfile mixes any channel layout down to stereo. Each chained link is announced with its
// OpusTags comments, as Vorbis links are. The Ogg decoder gives it only Opus links.
#include "audio/Decoder.h"
#include "audio/OggComments.h"

#include <opusfile.h>

#include <array>
#include <climits>
#include <memory>

namespace audio {

namespace {

constexpr int kMaxErrorsInARow = 8;
constexpr long kOpusRate = 48000;

int ReadFromSource(void* source, unsigned char* out, int max) {
  if (max <= 0) {
    return 0;
  }
  return static_cast<int>(
      static_cast<ByteSource*>(source)->Read(out, static_cast<std::size_t>(max)));
}

struct OpusFileDeleter {
  void operator()(OggOpusFile* file) const noexcept { op_free(file); }
};
using OpusFile = std::unique_ptr<OggOpusFile, OpusFileDeleter>;

// Reads the first link's headers from `source`; null when they are not Opus.
OpusFile OpenLive(ByteSource& source) {
  static const OpusFileCallbacks callbacks{ReadFromSource, nullptr, nullptr, nullptr};
  int error = 0;
  return OpusFile(op_open_callbacks(&source, &callbacks, nullptr, 0, &error));
}

class OpusDecoder final : public Decoder {
 public:
  explicit OpusDecoder(ByteSource& source) : source_(source) {}

  bool Next(DecodedBlock& block) override {
    if (!file_ && !opened_) {
      opened_ = true;
      file_ = OpenLive(source_);
    }
    if (!file_) {
      return false;
    }
    int errors = 0;
    for (;;) {
      int frames = op_read_stereo(file_.get(), pcm_.data(), static_cast<int>(pcm_.size()));
      if (frames == 0) {
        return false;
      }
      if (frames < 0) {
        if (frames != OP_HOLE && ++errors > kMaxErrorsInARow) {
          return false;
        }
        continue;
      }
      block = DecodedBlock{};
      const int link = op_current_link(file_.get());
      if (link != link_) {
        link_ = link;
        const OpusTags* tags = op_tags(file_.get(), -1);
        block.newLogicalStream = true;
        block.comments = tags != nullptr ? CommentBlock(tags->user_comments, tags->comment_lengths,
                                                        tags->comments)
                                         : std::string(1, '\0');
        const opus_int32 bitsPerSecond = op_bitrate_instant(file_.get());
        if (bitsPerSecond > 0) {
          bitrate_ = static_cast<unsigned>(bitsPerSecond / 1000);
        }
      }
      block.format = {kOpusRate, 2};
      block.samples = {pcm_.data(), static_cast<std::size_t>(frames) * 2};
      return true;
    }
  }

  unsigned Bitrate() const override { return bitrate_; }
  // Ogg carries no in-band metadata whose position would matter.
  std::size_t PendingInput() const override { return 0; }

 private:
  ByteSource& source_;
  OpusFile file_;
  bool opened_ = false;
  int link_ = INT_MIN;
  unsigned bitrate_ = 0;
  // 120 ms of stereo, the longest an Opus packet lasts.
  std::array<opus_int16, 5760 * 2> pcm_{};
};

}  // namespace

std::unique_ptr<Decoder> MakeOpusDecoder(ByteSource& source) {
  return std::make_unique<OpusDecoder>(source);
}

}  // namespace audio
