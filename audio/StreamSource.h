// Finding the audio behind an address: connect, check the answer, follow PLS and M3U
// playlists entry by entry, and tell which decoder the audio needs. Runs on the creating thread.
#pragma once

#include "audio/Connection.h"
#include "audio/Decoder.h"
#include "audio/Failure.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace audio {

struct SourceOptions {
  bool followPlaylists = false;
  http::Limits limits;
  const std::atomic<bool>* cancelled = nullptr;  // set when the engine is freed meanwhile
};

struct OpenedSource {
  std::unique_ptr<Connection> connection;  // headers complete, paused or running
  std::vector<std::uint8_t> head;          // body bytes read while connecting, not yet used
  Codec codec = Codec::Mp3;
  std::string url;
  // Where the stream may be found again, in order, after `url`: the other entries of the
  // playlist that named it, then that playlist (and so on outwards for a nested one).
  std::vector<std::string> alternatives;
};

// The first playable stream at `url` (or, for a playlist, at one of its entries), or why none.
Failure OpenSource(const std::string& url, const SourceOptions& options, OpenedSource& out);

}  // namespace audio
