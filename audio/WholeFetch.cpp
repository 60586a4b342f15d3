#include "audio/WholeFetch.h"

#include "audio/Connection.h"

namespace audio {

namespace {

// How often a fetch that waits on the network looks whether the stream stops.
constexpr std::chrono::milliseconds kStopCheck{100};

}  // namespace

Failure FetchWhole(const std::string& url, const http::Limits& limits, std::size_t maxBytes,
                   const std::function<bool()>& stopped, WholeAnswer& answer) {
  answer = WholeAnswer{};
  http::Limits capped = limits;
  capped.maxBodyBytes = static_cast<std::int64_t>(maxBytes);
  Connection connection(url, capped);
  bool tooLong = false;
  connection.SetBodySink([&](std::span<const std::uint8_t> bytes) {
    if (answer.body.size() + bytes.size() > maxBytes) {
      tooLong = true;
      return false;  // paused for good: the fetch is abandoned below
    }
    answer.body.insert(answer.body.end(), bytes.begin(), bytes.end());
    return true;
  });
  while (!tooLong && connection.Pump(kStopCheck)) {
    if (stopped()) {
      return Failure::Stopped;
    }
  }
  if (tooLong) {
    return Failure::NotAudio;
  }
  if (connection.Result() != Failure::None) {
    return connection.Result();
  }
  const int status = connection.Headers().StatusCode();
  if (status < 200 || status > 299) {
    return status == 401 || status == 403 || status == 410 ? Failure::Refused : Failure::HttpStatus;
  }
  answer.url = connection.EffectiveUrl();
  if (answer.url.empty()) {
    answer.url = url;
  }
  answer.contentType = std::string(connection.Headers().ContentType());
  return Failure::None;
}

}  // namespace audio
