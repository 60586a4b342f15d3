#include "audio/IcyDemuxer.h"

#include <algorithm>
#include <cstring>

namespace audio {

IcyDemuxer::Texts IcyDemuxer::TakeOut(std::vector<std::uint8_t>& bytes) {
  Texts texts;
  if (metaint_ == 0) {
    return texts;
  }
  std::size_t kept = 0;  // audio bytes moved to the front so far
  std::size_t i = 0;
  while (i < bytes.size()) {
    switch (state_) {
      case State::Audio: {
        std::size_t n = std::min(audioLeft_, bytes.size() - i);
        if (kept != i) {
          std::memmove(bytes.data() + kept, bytes.data() + i, n);
        }
        kept += n;
        i += n;
        audioLeft_ -= n;
        if (audioLeft_ == 0) {
          state_ = State::Length;
        }
        break;
      }
      case State::Length:
        textLeft_ = static_cast<std::size_t>(bytes[i++]) * 16;
        text_.clear();
        state_ = textLeft_ == 0 ? State::Audio : State::Text;
        audioLeft_ = metaint_;
        break;
      case State::Text: {
        std::size_t n = std::min(textLeft_, bytes.size() - i);
        text_.append(reinterpret_cast<const char*>(bytes.data() + i), n);
        i += n;
        textLeft_ -= n;
        if (textLeft_ == 0) {
          text_.resize(std::strlen(text_.c_str()));
          if (!text_.empty()) {
            texts.emplace_back(kept, std::move(text_));
          }
          text_.clear();
          state_ = State::Audio;
        }
        break;
      }
    }
  }
  bytes.resize(kept);
  return texts;
}

}  // namespace audio
