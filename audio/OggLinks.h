// Splits an Ogg stream into runs of chained links of one codec, so that each run can go to the
// library for that codec: a station may switch between Vorbis and Opus from one song to the
// next. Pages pass through whole and unchanged. Runs on the decoding thread.
#pragma once

#include "audio/Decoder.h"

#include <ogg/ogg.h>

#include <cstdint>
#include <vector>

namespace audio {

enum class OggCodec { None, Vorbis, Opus };

// The codec whose identification header begins `packet`; None when it is another.
OggCodec CodecOfFirstPacket(std::span<const std::uint8_t> packet) noexcept;

class OggLinks final : public ByteSource {
 public:
  explicit OggLinks(ByteSource& source);
  ~OggLinks() override;
  OggLinks(const OggLinks&) = delete;
  OggLinks& operator=(const OggLinks&) = delete;

  // Starts the next run and says its codec: the first run, or the one after Read() ended at a
  // link of another codec. None at the end of the input, at a link of a codec not listed, or
  // when the input holds no Ogg pages.
  OggCodec NextRun();
  // The pages of the current run; 0 where the run ends.
  std::size_t Read(std::uint8_t* out, std::size_t max) override;
  // True when the current run ended because a link of another codec follows.
  bool CodecChanges() const noexcept { return !nextRun_.empty(); }

 private:
  // After a link's first page (of `codec`) in `pages`: appends the group's further first pages
  // and the page after them; the first codec found among them.
  OggCodec FinishGroup(std::vector<std::uint8_t>& pages, OggCodec codec);
  // The next page of the input appended to `pages`; false at the end or after too much
  // input without a page. Sets `first` for a link's first page and `codec` for its codec.
  bool NextPage(std::vector<std::uint8_t>& pages, bool& first, OggCodec& codec);

  ByteSource& source_;
  ogg_sync_state sync_{};
  OggCodec codec_ = OggCodec::None;
  bool ended_ = false;
  std::vector<std::uint8_t> pending_;  // pages of this run not yet read
  std::size_t pendingAt_ = 0;
  std::vector<std::uint8_t> nextRun_;  // the pages that begin the next run
  OggCodec nextCodec_ = OggCodec::None;
};

}  // namespace audio
