// The decode thread: decodes what the download buffer holds, converts it to stereo at the rate
// the stream is played at, and keeps the sample queue full. Metadata is tied to the frame at which
// its audio comes out, so that it is announced when that audio is heard. Bytes that came over a new
// connection get a new decoder, which finds its first frame or page in them.
#include "audio/CodecChoice.h"
#include "audio/Resampler.h"
#include "audio/Stream.h"

#include <algorithm>

namespace audio {

void Stream::DecodeThread() {
  Codec codec = source_.codec;
  std::unique_ptr<Resampler> resampler;
  std::vector<std::int16_t> out;
  std::vector<EventTimeline::Event> events;
  Failure failure = Failure::None;
  DecodedBlock block;
  do {
    std::unique_ptr<Decoder> decoder = MakeDecoder(codec, *this);
    while (failure == Failure::None && decoder->Next(block)) {
      out.clear();
      events.clear();
      if (!resampler || resampler->input() != block.format) {
        if (resampler) {
          resampler->Drain(out);
        }
        if (rate_ == 0) {
          // The first link's rate stays the stream's: the device is not reopened between links.
          const long rate =
              settings_.rateFor ? settings_.rateFor(block.format.rate) : settings_.outputRate;
          timeline_.SetRate(rate);
          rate_ = rate;
        }
        resampler = std::make_unique<Resampler>(block.format, rate_);
        if (!resampler->ok()) {
          failure = Failure::BadFormat;
          break;
        }
      }
      if (block.newLogicalStream) {
        events.push_back({producedFrames_ + out.size() / 2, EventTimeline::Kind::OggChange,
                          std::move(block.comments), nextSerial_++});
      }
      resampler->Convert(block.samples, out);
      PushSamples(out, events, decoder->Bitrate(), decoder->PendingInput());
    }
  } while (failure == Failure::None && download_.NextConnection(codec));
  if (resampler) {
    out.clear();
    events.clear();
    resampler->Drain(out);
    PushSamples(out, events, 0, 0);
  }
  samples_.EndDecoding();
  download_.Close();  // the download has nobody left to feed
  {
    MutexLock hold(lock_);
    decodeEnded_ = true;
    if (failure_ == Failure::None) {
      failure_ = failure;
    }
  }
  settled_.NotifyAll();
}

void Stream::PushSamples(const std::vector<std::int16_t>& samples,
                         std::vector<EventTimeline::Event>& events, unsigned bitrate,
                         std::size_t pendingInput) {
  const bool first = producedFrames_ == 0 && !samples.empty();  // the format is known now
  if (first && headerBitrate_ == 0 && bitrate != 0) {
    download_.SetCapacity(BufferBytes(bitrate));
  }
  const std::uint64_t endFrame = producedFrames_ + samples.size() / 2;
  // The decoder has decoded these texts' bytes: they belong to the end of this block.
  for (DownloadBuffer::MetaAtByte& m : download_.TakeDecodedMeta(pendingInput)) {
    events.push_back({endFrame, EventTimeline::Kind::Meta, std::move(m.text), m.serial});
  }
  producedFrames_ = endFrame;
  if (!events.empty()) {
    timeline_.Add(std::move(events));
  }
  if (first) {
    // Told only now: whoever waited for the format reads the first tags from the timeline at
    // once, however late this thread runs again.
    {
      MutexLock hold(lock_);
      formatKnown_ = true;
    }
    settled_.NotifyAll();
  }
  samples_.Push(samples);
}

}  // namespace audio
