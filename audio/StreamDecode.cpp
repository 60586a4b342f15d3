// The decode thread: decodes what the download buffer holds, converts it to the output's rate
// in stereo, and keeps the sample queue full. Metadata is tied to the frame at which its audio
// comes out, so that it is announced when that audio is heard. Bytes that came over a new
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
  std::vector<Event> events;
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
        resampler = std::make_unique<Resampler>(block.format, settings_.outputRate);
        if (!resampler->ok()) {
          failure = Failure::BadFormat;
          break;
        }
      }
      if (block.newLogicalStream) {
        events.push_back(
            {producedFrames_ + out.size() / 2, EventKind::OggChange, std::move(block.comments), 0});
      }
      resampler->Convert(block.samples, out);
      PushSamples(out, events, decoder->Bitrate(), decoder->PendingInput());
    }
  } while (failure == Failure::None && NextConnection(codec));
  if (resampler) {
    out.clear();
    events.clear();
    resampler->Drain(out);
    PushSamples(out, events, 0, 0);
  }
  {
    std::lock_guard<std::mutex> hold(lock_);
    decodeEnded_ = true;
    if (failure_ == Failure::None) {
      failure_ = failure;
    }
  }
  settled_.notify_all();
  downloadWake_.notify_one();
  eventReady_.notify_one();
}

bool Stream::AtJunction() const {
  return !junctions_.empty() && junctions_.front().offset == bytesRead_;
}

bool Stream::NextConnection(Codec& codec) {
  std::lock_guard<std::mutex> hold(lock_);
  if (stopping_ || !AtJunction()) {
    return false;
  }
  codec = junctions_.front().codec;
  junctions_.pop_front();
  return true;
}

void Stream::PushSamples(const std::vector<std::int16_t>& samples, std::vector<Event>& events,
                         unsigned bitrate, std::size_t pendingInput) {
  std::unique_lock<std::mutex> hold(lock_);
  if (!formatKnown_ && !samples.empty()) {
    formatKnown_ = true;
    if (headerBitrate_ == 0 && bitrate != 0) {
      ResizeBuffer(bitrate);
      downloadWake_.notify_one();
    }
    settled_.notify_all();
  }
  for (Event& e : events) {
    e.serial = nextSerial_++;
    timeline_.push_back(std::move(e));
  }
  std::uint64_t endFrame = producedFrames_ + samples.size() / 2;
  // The decoder has decoded these texts' bytes: they belong to the end of this block.
  const std::uint64_t decoded = bytesRead_ - std::min<std::uint64_t>(pendingInput, bytesRead_);
  while (!metaByByte_.empty() && metaByByte_.front().offset <= decoded) {
    MetaAtByte& m = metaByByte_.front();
    timeline_.push_back({endFrame, EventKind::Meta, std::move(m.text), m.serial});
    metaByByte_.pop_front();
  }
  producedFrames_ = endFrame;
  if (EventRendered()) {
    eventReady_.notify_one();
  }
  std::size_t done = 0;
  while (done < samples.size()) {
    // Refill in larger steps than the output takes, to wake up less often.
    const std::size_t wanted = std::min(samples.size() - done, samples_.Capacity() / 4);
    queueRoom_.wait(hold, [this, wanted] { return stopping_ || samples_.Space() >= wanted; });
    if (stopping_) {
      return;
    }
    std::size_t n = samples_.Write(samples.data() + done, samples.size() - done);
    done += n;
    framesQueued_ += n / 2;
  }
}

}  // namespace audio
