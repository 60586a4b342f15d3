#include "audio/IcyDemuxer.h"

#include <algorithm>
#include <cstring>

namespace audio {

IcyDemuxer::Output IcyDemuxer::Feed(std::span<const std::uint8_t> data) {
  Output out;
  if (metaint_ == 0) {
    out.audio.assign(data.begin(), data.end());
    return out;
  }
  out.audio.reserve(data.size());
  std::size_t i = 0;
  while (i < data.size()) {
    switch (state_) {
      case State::Audio: {
        std::size_t n = std::min(audioLeft_, data.size() - i);
        out.audio.insert(out.audio.end(), data.begin() + i, data.begin() + i + n);
        i += n;
        audioLeft_ -= n;
        if (audioLeft_ == 0) {
          state_ = State::Length;
        }
        break;
      }
      case State::Length:
        textLeft_ = static_cast<std::size_t>(data[i++]) * 16;
        text_.clear();
        state_ = textLeft_ == 0 ? State::Audio : State::Text;
        audioLeft_ = metaint_;
        break;
      case State::Text: {
        std::size_t n = std::min(textLeft_, data.size() - i);
        text_.append(reinterpret_cast<const char*>(data.data() + i), n);
        i += n;
        textLeft_ -= n;
        if (textLeft_ == 0) {
          text_.resize(std::strlen(text_.c_str()));
          if (!text_.empty()) {
            out.metadata.emplace_back(out.audio.size(), std::move(text_));
          }
          text_.clear();
          state_ = State::Audio;
        }
        break;
      }
    }
  }
  return out;
}

}  // namespace audio
