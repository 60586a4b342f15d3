// Ogg Opus through opusfile, read as a live stream (no seeking). Opus always decodes at 48 kHz;
// opusfile mixes any channel layout down to stereo. Each chained link is announced with its
// OpusTags comments, as Vorbis links are. The Ogg decoder gives it only Opus links.
//
// Mono and stereo links (all a station sends) are decoded by a single-stream decoder of our own:
// opusfile's multistream decoder asks itself for its sizes on every packet, and libopus works
// those out again each time, detecting the processor's features anew (cpuid): under a
// hypervisor that trap cost more than decoding the packet. Links of more channels keep
// opusfile's own decoding.
#include "audio/Decoder.h"
#include "audio/OggComments.h"

#include <opus.h>
#include <opusfile.h>

#include <array>
#include <climits>
#include <memory>
#include <optional>

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

struct PacketDecoderDeleter {
  void operator()(::OpusDecoder* decoder) const noexcept { opus_decoder_destroy(decoder); }
};

// Decodes the packets of a file's mono and stereo links, a decoder made anew for each link as
// opusfile's own would be reset.
class LinkDecoder {
 public:
  explicit LinkDecoder(OggOpusFile* file) : file_(file) {
    op_set_decode_callback(file, &LinkDecoder::Callback, this);
    // Noise-shaped dither of the last of 16 bits of a lossy stream cannot be heard, and cost a
    // fifth of decoding; the soft clipping that keeps loud streams from distorting stays.
    op_set_dither_enabled(file, 0);
  }

 private:
  static int Callback(void* self, OpusMSDecoder*, void* pcm, const ogg_packet* packet, int samples,
                      int channels, int format, int) {
    return static_cast<LinkDecoder*>(self)->Decode(pcm, *packet, samples, channels, format);
  }

  int Decode(void* pcm, const ogg_packet& packet, int samples, int channels, int format) {
    const OpusHead* head = op_head(file_, -1);
    if (head == nullptr || head->mapping_family != 0 || channels > 2) {
      return OP_DEC_USE_DEFAULT;
    }
    const int link = op_current_link(file_);
    const opus_uint32 serial = op_serialno(file_, -1);
    if (!decoder_ || link != link_ || serial != serial_ || channels != channels_) {
      int error = 0;
      decoder_.reset(opus_decoder_create(static_cast<opus_int32>(kOpusRate), channels, &error));
      if (!decoder_) {
        return OP_DEC_USE_DEFAULT;
      }
      opus_decoder_ctl(decoder_.get(), OPUS_SET_GAIN(head->output_gain));
      link_ = link;
      serial_ = serial;
      channels_ = channels;
    }
    const auto bytes = static_cast<opus_int32>(packet.bytes);
    const int decoded = format == OP_DEC_FORMAT_FLOAT
                            ? opus_decode_float(decoder_.get(), packet.packet, bytes,
                                                static_cast<float*>(pcm), samples, 0)
                            : opus_decode(decoder_.get(), packet.packet, bytes,
                                          static_cast<opus_int16*>(pcm), samples, 0);
    if (decoded < 0) {
      return decoded;
    }
    return decoded == samples ? 0 : OPUS_INVALID_PACKET;
  }

  OggOpusFile* file_;
  std::unique_ptr<::OpusDecoder, PacketDecoderDeleter> decoder_;
  int link_ = INT_MIN;
  opus_uint32 serial_ = 0;
  int channels_ = 0;
};

class OpusDecoder final : public Decoder {
 public:
  explicit OpusDecoder(ByteSource& source) : source_(source) {}

  bool Next(DecodedBlock& block) override {
    if (!file_ && !opened_) {
      opened_ = true;
      file_ = OpenLive(source_);
      if (file_) {
        linkDecoder_.emplace(file_.get());
      }
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
  std::optional<LinkDecoder> linkDecoder_;
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
