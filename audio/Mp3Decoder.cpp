// MP3 through libmpg123's feed interface. A stream may start in the middle of a frame; the
// decoder searches for the first frame, but only so far.
#include "audio/Decoder.h"

#include <mpg123.h>

#include <array>
#include <mutex>

namespace audio {

namespace {

// Input searched for a first frame before the stream counts as not MP3.
constexpr std::size_t kMaxSearchBytes = 64 * 1024;
// Decoding errors in a row before the stream counts as broken.
constexpr int kMaxErrorsInARow = 8;
// Small feeds keep the decoder's look-ahead, and so the metadata timing, fine.
constexpr std::size_t kFeedBytes = 2048;

struct HandleDeleter {
  void operator()(mpg123_handle* h) const noexcept { mpg123_delete(h); }
};
using Mpg123Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

Mpg123Handle OpenFeed() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
  Mpg123Handle h(mpg123_new(nullptr, nullptr));
  if (!h) {
    return h;
  }
  mpg123_param(h.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  mpg123_param(h.get(), MPG123_RESYNC_LIMIT, -1, 0);
  mpg123_format_none(h.get());
  const long* rates = nullptr;
  std::size_t count = 0;
  mpg123_rates(&rates, &count);
  for (std::size_t i = 0; i < count; ++i) {
    mpg123_format(h.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  }
  if (mpg123_open_feed(h.get()) != MPG123_OK) {
    h.reset();
  }
  return h;
}

class Mp3Decoder final : public Decoder {
 public:
  explicit Mp3Decoder(ByteSource& source) : source_(source), handle_(OpenFeed()) {}

  bool Next(DecodedBlock& block) override {
    if (!handle_) {
      return false;
    }
    int errors = 0;
    for (;;) {
      std::size_t done = 0;
      int result =
          mpg123_read(handle_.get(), pcm_.data(), pcm_.size() * sizeof(std::int16_t), &done);
      if (result == MPG123_NEW_FORMAT) {
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        mpg123_getformat(handle_.get(), &rate, &channels, &encoding);
        format_ = {rate, channels};
        mpg123_frameinfo info{};
        if (mpg123_info(handle_.get(), &info) == MPG123_OK && info.bitrate > 0) {
          bitrate_ = static_cast<unsigned>(info.bitrate);
        }
      }
      if (done > 0 && format_.rate > 0) {
        block = DecodedBlock{};
        block.samples = {pcm_.data(), done / sizeof(std::int16_t)};
        block.format = format_;
        return true;
      }
      if (result == MPG123_ERR) {
        if (++errors > kMaxErrorsInARow) {
          return false;
        }
      } else if (result != MPG123_NEED_MORE && result != MPG123_DONE && result != MPG123_OK &&
                 result != MPG123_NEW_FORMAT) {
        return false;
      }
      if (result == MPG123_NEED_MORE || result == MPG123_ERR || result == MPG123_DONE) {
        if (!FeedMore()) {
          return false;
        }
      }
    }
  }

  unsigned Bitrate() const override { return bitrate_; }

  std::size_t PendingInput() const override {
    long fill = 0;
    double ignored = 0;
    if (!handle_ ||
        mpg123_getstate(handle_.get(), MPG123_BUFFERFILL, &fill, &ignored) != MPG123_OK) {
      return 0;
    }
    return fill > 0 ? static_cast<std::size_t>(fill) : 0;
  }

 private:
  bool FeedMore() {
    std::size_t n = source_.Read(input_.data(), input_.size());
    if (n == 0) {
      return false;
    }
    if (format_.rate == 0) {
      searched_ += n;
      if (searched_ > kMaxSearchBytes) {
        return false;
      }
    }
    return mpg123_feed(handle_.get(), input_.data(), n) == MPG123_OK;
  }

  ByteSource& source_;
  Mpg123Handle handle_;
  PcmFormat format_;
  unsigned bitrate_ = 0;
  std::size_t searched_ = 0;
  std::array<std::uint8_t, kFeedBytes> input_{};
  std::array<std::int16_t, 4608> pcm_{};
};

}  // namespace

std::unique_ptr<Decoder> MakeMp3Decoder(ByteSource& source) {
  return std::make_unique<Mp3Decoder>(source);
}

}  // namespace audio
