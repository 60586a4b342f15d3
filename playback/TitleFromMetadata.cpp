#include "playback/TitleFromMetadata.h"

#include <strings.h>

#include <cstring>

#include "playback/TextFromBytes.h"

namespace {

constexpr std::string_view streamTitleTag = "StreamTitle='";

std::string Cut(std::string_view text, std::size_t maxBytes) {
  return std::string(text.substr(0, CutLength(text, maxBytes)));
}

// The StreamTitle value as the station meant it: up to the character before the first ';', or,
// without any ';', to the end less a closing quote.
std::string_view StreamTitleValue(std::string_view afterTag) {
  const std::size_t semicolon = afterTag.find(';');
  if (semicolon == std::string_view::npos) {
    if (!afterTag.empty() && afterTag.back() == '\'') {
      afterTag.remove_suffix(1);
    }
    return afterTag;
  }
  // The title ends there even when the title itself holds the ';'.
  return afterTag.substr(0, semicolon == 0 ? 0 : semicolon - 1);
}

}  // namespace

std::optional<StreamTitleTexts> TitleFromStreamMeta(std::string_view meta) {
  meta = meta.substr(0, meta.find('\0'));
  const std::size_t tag = meta.find(streamTitleTag);
  if (tag == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view value = StreamTitleValue(meta.substr(tag + streamTitleTag.size()));

  const std::size_t hyphen = value.find('-');
  std::string_view artist;
  std::string_view title = value;
  std::string status(value);
  if (hyphen != std::string_view::npos) {
    artist = value.substr(0, hyphen);
    title = value.substr(hyphen + 1);
    // Normally the blanks around the hyphen; whatever they are, they go.
    if (!artist.empty()) {
      artist.remove_suffix(1);
    }
    if (!title.empty()) {
      title.remove_prefix(1);
    }
    const bool hyphenInside = hyphen > 0 && hyphen + 1 < value.size();
    if (hyphenInside) {
      status = std::string(artist) + " - " + std::string(title);
    }
  }
  return StreamTitleTexts{Cut(artist, titlePartBytes), Cut(title, titlePartBytes),
                          Cut(status, kMaxTextCharacters)};
}

std::optional<OggTitleTexts> TitleFromOggComments(const char* comments) {
  const char* artist = nullptr;
  const char* title = nullptr;
  for (const char* comment = comments; *comment != '\0'; comment += std::strlen(comment) + 1) {
    if (strncasecmp(comment, "artist=", 7) == 0) {
      artist = comment + 7;
    } else if (strncasecmp(comment, "title=", 6) == 0) {
      title = comment + 6;
    }
  }
  if (artist != nullptr) {
    std::string combined(artist);
    if (title != nullptr && *title != '\0') {
      combined += " - ";
      combined += title;
    }
    return OggTitleTexts{Cut(artist, kMaxTextCharacters), Cut(combined, oggStatusBytes)};
  }
  if (title != nullptr) {
    return OggTitleTexts{std::nullopt, Cut(title, kMaxTextCharacters)};
  }
  return std::nullopt;
}
