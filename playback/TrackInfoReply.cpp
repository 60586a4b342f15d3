#include "playback/TrackInfoReply.h"

#include <string_view>

namespace {

constexpr std::string_view albumStart = "<album";
constexpr std::string_view albumEnd = "</album>";

// Appends the next line of `reply` to `text`, at most replyLineBytes bytes and through its '\n'.
// Returns the number of bytes read: 0 at the end of the reply.
std::size_t AppendLine(std::FILE* reply, std::string& text) {
  std::size_t count = 0;
  int c = 0;
  while (count < replyLineBytes && (c = std::getc(reply)) != EOF) {
    text.push_back(static_cast<char>(c));
    ++count;
    if (c == '\n') {
      break;
    }
  }
  return count;
}

// The service marks a failed request on its root element or with an error element; the word
// "error" in an echoed artist or title is no such mark.
bool HasErrorMarker(std::string_view text) {
  if (text.find("status=\"failed\"") != std::string_view::npos ||
      text.find("status='failed'") != std::string_view::npos) {
    return true;
  }
  constexpr std::string_view errorElement = "<error";
  for (std::size_t at = text.find(errorElement); at != std::string_view::npos;
       at = text.find(errorElement, at + 1)) {
    const std::size_t next = at + errorElement.size();
    if (next == text.size() || text[next] == '>' || text[next] == '/' || text[next] == ' ' ||
        text[next] == '\t' || text[next] == '\r' || text[next] == '\n') {
      return true;
    }
  }
  return false;
}

// The text up to and including the line that opens the album element; empty when the element
// does not begin within maxBytesBeforeAlbum bytes after the first line.
std::string ReadUpToAlbum(std::FILE* reply) {
  std::string text;
  if (AppendLine(reply, text) == 0) {
    return {};
  }
  // The first line does not count against the limit.
  std::size_t counted = 0;
  while (text.find(albumStart) == std::string::npos) {
    std::string line;
    const std::size_t length = AppendLine(reply, line);
    counted += length;
    if (length == 0 || counted > maxBytesBeforeAlbum) {
      return {};
    }
    text += line;
  }
  return text;
}

// Reads on until the album element that starts `text` is closed, within maxAlbumElementBytes.
// Returns the element without its closing tag, or empty when it does not close.
std::string ReadAlbumElement(std::FILE* reply, std::string text) {
  std::size_t end = text.find(albumEnd);
  while (end == std::string::npos && text.size() <= maxAlbumElementBytes) {
    const std::size_t before = text.size();
    if (AppendLine(reply, text) == 0) {
      return {};
    }
    // The closing tag may straddle a line cut at replyLineBytes.
    end = text.find(albumEnd, before >= albumEnd.size() ? before - albumEnd.size() : 0);
  }
  if (end == std::string::npos || end > maxAlbumElementBytes) {
    return {};
  }
  text.resize(end);
  return text;
}

}  // namespace

AlbumSearch FindAlbumImage(std::FILE* reply, Regex& regex) {
  if (reply == nullptr) {
    return {};
  }
  const std::string head = ReadUpToAlbum(reply);
  if (head.empty() || HasErrorMarker(head)) {
    return {};
  }
  const std::string album = ReadAlbumElement(reply, head.substr(head.find(albumStart)));
  if (album.empty()) {
    return {};
  }
  AlbumSearch search{true, {}};
  if (regex.Compile(largeImagePattern) != nullptr && regex.Execute(album.c_str()) >= 0) {
    search.imageMatch = regex.MatchText();
  }
  return search;
}
