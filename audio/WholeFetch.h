// One HTTP answer fetched whole over the engine's connection (its limits, agent and host map),
// for HLS playlists and segments. Runs on the calling thread; `stopped` is asked between steps,
// so a stopping stream ends a fetch within a fraction of a second.
#pragma once

#include "audio/Failure.h"
#include "platform/HttpClient.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace audio {

struct WholeAnswer {
  std::vector<std::uint8_t> body;
  std::string url;  // where it came from, after redirects
  std::string contentType;
};

// None with `answer` filled for a 2xx answer whose body came whole and within `maxBytes`.
Failure FetchWhole(const std::string& url, const http::Limits& limits, std::size_t maxBytes,
                   const std::function<bool()>& stopped, WholeAnswer& answer);

}  // namespace audio
