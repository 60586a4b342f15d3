#include "audio/HlsPlaylist.h"
#include "audio/HlsSchedule.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const std::string base = "http://127.0.0.1:8000/radio/live.m3u8";
  audio::IsHlsPlaylist("application/vnd.apple.mpegurl", body);
  const auto variants = audio::ParseMasterPlaylist(body, base);
  if (const auto chosen = audio::ChooseVariant(variants); chosen && chosen->url.empty()) {
    std::abort();
  }
  if (const auto list = audio::ParseMediaPlaylist(body, base)) {
    audio::HlsSchedule schedule(*list, {});
    schedule.Reloaded(*list, {});
    std::size_t handed = 0;
    while (schedule.Next()) {
      ++handed;
    }
    if (handed > list->segments.size()) {
      std::abort();
    }
  }
  return 0;
}
