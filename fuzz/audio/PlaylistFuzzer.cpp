#include "audio/Playlist.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view body(reinterpret_cast<const char*>(data), size);
  audio::PlaylistKind kind = audio::DetectPlaylist("", body);
  for (audio::PlaylistKind k : {kind, audio::PlaylistKind::Pls, audio::PlaylistKind::M3u}) {
    auto urls = audio::ParsePlaylist(k, body, "http://127.0.0.1:8000/dir/list.pls");
    if (urls.size() > audio::kMaxPlaylistEntries) {
      std::abort();
    }
    for (const auto& url : urls) {
      if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) {
        std::abort();
      }
    }
  }
  return 0;
}
