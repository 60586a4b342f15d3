#include "audio/Playlist.h"

#include "audio/Text.h"
#include "platform/HttpClient.h"

#include <algorithm>

namespace audio {

namespace {

std::string_view FirstLine(std::string_view body) {
  std::size_t start = body.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) {
    return {};
  }
  body.remove_prefix(start);
  return body.substr(0, body.find_first_of("\r\n"));
}

std::vector<std::string_view> Lines(std::string_view body) {
  std::vector<std::string_view> lines;
  while (!body.empty()) {
    std::size_t end = body.find_first_of("\r\n");
    lines.push_back(Trim(body.substr(0, end)));
    if (end == std::string_view::npos) {
      break;
    }
    body.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string> ParsePls(std::string_view body) {
  struct Entry {
    unsigned long number;
    std::size_t order;
    std::string url;
  };
  std::vector<Entry> entries;
  for (std::string_view line : Lines(body)) {
    if (!StartsWithNoCase(line, "file")) {
      continue;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      continue;
    }
    std::string_view digits = Trim(line.substr(4, eq - 4));
    unsigned long number = 0;
    if (digits.empty() || digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    for (char c : digits) {
      number = number * 10 + static_cast<unsigned long>(c - '0');
    }
    std::string_view value = Trim(line.substr(eq + 1));
    if (!value.empty()) {
      entries.push_back({number, entries.size(), std::string(value)});
    }
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.number < b.number; });
  std::vector<std::string> urls;
  for (Entry& e : entries) {
    urls.push_back(std::move(e.url));
  }
  return urls;
}

std::vector<std::string> ParseM3u(std::string_view body) {
  std::vector<std::string> urls;
  for (std::string_view line : Lines(body)) {
    if (!line.empty() && line.front() != '#') {
      urls.emplace_back(line);
    }
  }
  return urls;
}

}  // namespace

PlaylistKind DetectPlaylist(std::string_view contentType, std::string_view body) {
  std::string_view type = Trim(contentType.substr(0, contentType.find(';')));
  if (EqualsNoCase(type, "audio/x-scpls") || EqualsNoCase(type, "application/pls+xml")) {
    return PlaylistKind::Pls;
  }
  for (std::string_view m3u : {"audio/x-mpegurl", "audio/mpegurl", "application/x-mpegurl",
                               "application/vnd.apple.mpegurl"}) {
    if (EqualsNoCase(type, m3u)) {
      return PlaylistKind::M3u;
    }
  }
  if (StartsWithNoCase(body, "\xEF\xBB\xBF")) {
    body.remove_prefix(3);
  }
  std::string_view first = FirstLine(body);
  if (StartsWithNoCase(first, "[playlist]")) {
    return PlaylistKind::Pls;
  }
  if (StartsWithNoCase(first, "#EXTM3U") || http::IsHttpAddress(first)) {
    return PlaylistKind::M3u;
  }
  return PlaylistKind::None;
}

std::vector<std::string> ParsePlaylist(PlaylistKind kind, std::string_view body,
                                       const std::string& baseUrl) {
  body = body.substr(0, kMaxPlaylistBytes);
  std::vector<std::string> raw;
  if (kind == PlaylistKind::Pls) {
    raw = ParsePls(body);
  } else if (kind == PlaylistKind::M3u) {
    raw = ParseM3u(body);
  }
  std::vector<std::string> urls;
  for (const std::string& entry : raw) {
    std::string url = http::ResolveUrl(baseUrl, entry);
    if (!url.empty()) {
      urls.push_back(std::move(url));
      if (urls.size() == kMaxPlaylistEntries) {
        break;
      }
    }
  }
  return urls;
}

}  // namespace audio
