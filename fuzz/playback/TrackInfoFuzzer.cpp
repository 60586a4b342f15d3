// Any bytes as the track-info service's reply: the search ends, and a found image is the
// pattern's match from the album element.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "playback/TrackInfoReply.h"
#include "regex/Regex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;  // fmemopen refuses an empty buffer
  }
  std::FILE* reply = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (reply == nullptr) {
    return 0;
  }
  Regex regex;
  const AlbumSearch search = FindAlbumImage(reply, regex);
  std::fclose(reply);
  const std::string_view match = search.imageMatch;
  if (!match.empty() && (!search.albumFound || !match.starts_with("<image size=\"large\">") ||
                         !match.ends_with('<') || match.size() > maxAlbumElementBytes)) {
    __builtin_trap();
  }
  return 0;
}
