// Finding the audio behind an address: connect, check the answer, follow PLS and M3U
// playlists entry by entry, and tell which decoder the audio needs. Runs on the creating thread.
#pragma once

#include "audio/Connection.h"
#include "audio/Decoder.h"
#include "audio/Failure.h"
#include "audio/HlsPlaylist.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace audio {

struct SourceOptions {
  bool followPlaylists = false;
  http::Limits limits;
  const std::atomic<bool>* cancelled = nullptr;  // set when the engine is freed meanwhile
};

// An address that led to an HLS media playlist: where the list came from (after redirects),
// for its reloads and relative addresses, and the list as first loaded.
struct HlsStart {
  std::string playlistUrl;
  MediaPlaylist playlist;
};

struct OpenedSource {
  // Headers complete, paused or running; for HLS, the playlist's, ended.
  std::unique_ptr<Connection> connection;
  std::vector<std::uint8_t> head;  // body bytes read while connecting, not yet used
  Codec codec = Codec::Mp3;
  std::string url;
  // Where the stream may be found again, in order, after `url`: the other entries of the
  // playlist that named it, then that playlist (and so on outwards for a nested one).
  std::vector<std::string> alternatives;
  std::optional<HlsStart> hls;  // the audio comes in the segments of this playlist
};

// The first playable stream at `url` (or, for a playlist, at one of its entries), or why none.
// An HLS playlist is a stream of its own; an encrypted one fails as an unreachable stream.
Failure OpenSource(const std::string& url, const SourceOptions& options, OpenedSource& out);

}  // namespace audio
