#include "audio/HlsPlaylist.h"

#include "audio/Playlist.h"
#include "audio/Text.h"
#include "platform/HttpClient.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace audio {

namespace {

// A longer list than this is not a radio's: the rest is ignored.
constexpr std::size_t kMaxSegments = 4096;
constexpr std::size_t kMaxVariants = 64;

constexpr std::string_view kHlsTypes[] = {"application/vnd.apple.mpegurl", "application/x-mpegurl",
                                          "audio/mpegurl"};
// As a master playlist's CODECS names them: AAC LC, HE-AAC v1 and v2, and MP3.
constexpr std::string_view kDecodedCodecs[] = {"mp4a.40.2", "mp4a.40.5", "mp4a.40.29", "mp4a.40.34",
                                               "mp4a.69",   "mp4a.6b",   "mp3"};

bool Contains(std::string_view body, std::string_view what) {
  return body.find(what) != std::string_view::npos;
}

std::string_view StripBom(std::string_view body) {
  if (body.starts_with("\xEF\xBB\xBF")) {
    body.remove_prefix(3);
  }
  return body;
}

template <typename F>
void ForEachLine(std::string_view body, F&& f) {
  while (!body.empty()) {
    const std::size_t end = body.find_first_of("\r\n");
    f(Trim(body.substr(0, end)));
    if (end == std::string_view::npos) {
      break;
    }
    body.remove_prefix(end + 1);
  }
}

// The value of `key` in an attribute list (KEY=VALUE,KEY="quoted, with commas"), unquoted.
std::string_view Attribute(std::string_view list, std::string_view key) {
  while (!list.empty()) {
    const std::size_t eq = list.find('=');
    if (eq == std::string_view::npos) {
      return {};
    }
    const std::string_view name = Trim(list.substr(0, eq));
    list.remove_prefix(eq + 1);
    std::string_view value;
    if (list.starts_with('"')) {
      const std::size_t close = list.find('"', 1);
      value = list.substr(1, close == std::string_view::npos ? list.size() - 1 : close - 1);
      list.remove_prefix(close == std::string_view::npos ? list.size() : close + 1);
    } else {
      value = list.substr(0, list.find(','));
      list.remove_prefix(value.size());
    }
    if (EqualsNoCase(name, key)) {
      return Trim(value);
    }
    const std::size_t comma = list.find(',');
    list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
  }
  return {};
}

std::uint64_t Number(std::string_view text) {
  std::uint64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

double Seconds(std::string_view text) {
  const std::string copy(text.substr(0, 32));
  const double value = std::strtod(copy.c_str(), nullptr);
  return value > 0 && value < 3600 ? value : 0;
}

bool Decodable(std::string_view codecs) {
  while (!codecs.empty()) {
    const std::size_t comma = codecs.find(',');
    const std::string_view codec = Trim(codecs.substr(0, comma));
    if (std::none_of(std::begin(kDecodedCodecs), std::end(kDecodedCodecs),
                     [codec](std::string_view known) { return EqualsNoCase(codec, known); })) {
      return false;
    }
    codecs.remove_prefix(comma == std::string_view::npos ? codecs.size() : comma + 1);
  }
  return true;
}

}  // namespace

bool IsHlsPlaylist(std::string_view contentType, std::string_view body) {
  body = StripBom(body);
  const std::string_view type = Trim(contentType.substr(0, contentType.find(';')));
  if (std::any_of(std::begin(kHlsTypes), std::end(kHlsTypes),
                  [type](std::string_view hls) { return EqualsNoCase(type, hls); }) &&
      Contains(body, "#EXT-X-")) {
    return true;
  }
  return body.starts_with("#EXTM3U") &&
         (Contains(body, "#EXT-X-TARGETDURATION") || Contains(body, "#EXT-X-STREAM-INF"));
}

bool IsMasterPlaylist(std::string_view body) {
  return Contains(body, "#EXT-X-STREAM-INF");
}

std::vector<HlsVariant> ParseMasterPlaylist(std::string_view body, const std::string& baseUrl) {
  std::vector<HlsVariant> variants;
  std::optional<HlsVariant> pending;
  ForEachLine(StripBom(body), [&](std::string_view line) {
    if (line.starts_with("#EXT-X-STREAM-INF:")) {
      const std::string_view attributes = line.substr(18);
      pending = HlsVariant{{},
                           Number(Attribute(attributes, "BANDWIDTH")),
                           std::string(Attribute(attributes, "CODECS"))};
    } else if (!line.empty() && line.front() != '#' && pending) {
      pending->url = http::ResolveUrl(baseUrl, std::string(line));
      if (!pending->url.empty() && variants.size() < kMaxVariants) {
        variants.push_back(std::move(*pending));
      }
      pending.reset();
    }
  });
  return variants;
}

std::optional<HlsVariant> ChooseVariant(const std::vector<HlsVariant>& variants) {
  const HlsVariant* best = nullptr;
  const HlsVariant* lowest = nullptr;
  for (const HlsVariant& v : variants) {
    if (!Decodable(v.codecs)) {
      continue;
    }
    if (v.bandwidth <= kVariantBandwidthLimit &&
        (best == nullptr || v.bandwidth > best->bandwidth)) {
      best = &v;
    }
    if (lowest == nullptr || v.bandwidth < lowest->bandwidth) {
      lowest = &v;
    }
  }
  if (best == nullptr) {
    best = lowest;
  }
  return best != nullptr ? std::optional<HlsVariant>(*best) : std::nullopt;
}

std::optional<MediaPlaylist> ParseMediaPlaylist(std::string_view body, const std::string& baseUrl) {
  MediaPlaylist list;
  bool hasTarget = false;
  double seconds = 0;
  bool discontinuity = false;
  bool sequenceSeen = false;
  std::uint64_t index = 0;  // of the segment lines, whether their address is usable or not
  std::string mapUrl;
  ForEachLine(StripBom(body), [&](std::string_view line) {
    if (line.starts_with("#EXT-X-TARGETDURATION:")) {
      list.targetSeconds = Seconds(line.substr(22));
      hasTarget = list.targetSeconds > 0;
    } else if (line.starts_with("#EXT-X-MEDIA-SEQUENCE:") && !sequenceSeen) {
      list.firstSequence = Number(line.substr(22));
      sequenceSeen = true;
    } else if (line.starts_with("#EXTINF:")) {
      seconds = Seconds(line.substr(8, line.find(',') - 8));
    } else if (line.starts_with("#EXT-X-DISCONTINUITY") &&
               !line.starts_with("#EXT-X-DISCONTINUITY-SEQUENCE")) {
      discontinuity = true;
    } else if (line.starts_with("#EXT-X-ENDLIST")) {
      list.ended = true;
    } else if (line.starts_with("#EXT-X-KEY:")) {
      if (!EqualsNoCase(Attribute(line.substr(11), "METHOD"), "NONE")) {
        list.encrypted = true;
      }
    } else if (line.starts_with("#EXT-X-MAP:")) {
      mapUrl = http::ResolveUrl(baseUrl, std::string(Attribute(line.substr(11), "URI")));
    } else if (!line.empty() && line.front() != '#') {
      std::string url = http::ResolveUrl(baseUrl, std::string(line));
      if (!url.empty() && list.segments.size() < kMaxSegments) {
        list.segments.push_back(
            {std::move(url), seconds, list.firstSequence + index, discontinuity, mapUrl});
      }
      ++index;
      seconds = 0;
      discontinuity = false;
    }
  });
  if (!hasTarget) {
    return std::nullopt;
  }
  return list;
}

}  // namespace audio
