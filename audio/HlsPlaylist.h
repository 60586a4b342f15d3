// HLS playlists: telling one from a plain M3U list, the variant a master playlist offers that
// suits a radio, and the segments of a media playlist.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace audio {

// An HLS playlist by its content type and its `#EXT-X-` tags, or by its body alone.
bool IsHlsPlaylist(std::string_view contentType, std::string_view body);
bool IsMasterPlaylist(std::string_view body);

struct HlsVariant {
  std::string url;  // resolved
  std::uint64_t bandwidth = 0;
  std::string codecs;  // empty when not given
};

// The variants of a master playlist, addresses resolved against `baseUrl`.
std::vector<HlsVariant> ParseMasterPlaylist(std::string_view body, const std::string& baseUrl);
// Of the variants whose codecs (when given) we decode, the highest bandwidth not above
// kVariantBandwidthLimit, else the lowest; none when no variant is decodable.
std::optional<HlsVariant> ChooseVariant(const std::vector<HlsVariant>& variants);
constexpr std::uint64_t kVariantBandwidthLimit = 160000;

struct HlsSegment {
  std::string url;  // resolved
  double seconds = 0;
  std::uint64_t sequence = 0;
  bool discontinuity = false;  // decoding starts afresh here
  std::string mapUrl;          // the initialisation section (fMP4), resolved; empty for none
};

struct MediaPlaylist {
  double targetSeconds = 0;
  std::uint64_t firstSequence = 0;
  bool ended = false;      // #EXT-X-ENDLIST: no more segments will come
  bool encrypted = false;  // a key other than NONE applies to some segment
  std::vector<HlsSegment> segments;
};

// A media playlist; none when it lacks a target duration.
std::optional<MediaPlaylist> ParseMediaPlaylist(std::string_view body, const std::string& baseUrl);

}  // namespace audio
