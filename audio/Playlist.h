// PLS and M3U playlists: recognising one, and the stream addresses it names, in order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace audio {

enum class PlaylistKind { None, Pls, M3u };

// At most this many entries are taken from one playlist; each may cost a connect time-out.
constexpr std::size_t kMaxPlaylistEntries = 16;
// Only this much of a playlist body is read.
constexpr std::size_t kMaxPlaylistBytes = 64 * 1024;

// A playlist by its content type, or else by its first bytes ("[playlist]", "#EXTM3U", or an
// address on its first line).
PlaylistKind DetectPlaylist(std::string_view contentType, std::string_view body);

// The http and https addresses the playlist names, in order (PLS: by entry number, keys in any
// case; NumberOfEntries is not needed), relative ones resolved against `baseUrl`.
std::vector<std::string> ParsePlaylist(PlaylistKind kind, std::string_view body,
                                       const std::string& baseUrl);

}  // namespace audio
