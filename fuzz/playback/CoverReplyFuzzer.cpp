// The keyless cover sources' replies (iTunes Search JSON, MusicBrainz XML): any bytes give an
// answer, never a crash; Found always comes with addresses, and never too many.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "playback/ItunesSource.h"
#include "playback/MusicBrainzSource.h"

namespace {

void CheckAddresses(const SourceAnswer& answer) {
  if ((answer.kind == SourceAnswer::Found) == answer.images.empty()) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  CheckAddresses(ItunesCovers(reply, "Cher"));
  const SourceAnswer releases = MusicBrainzCovers(reply, "Cher");
  CheckAddresses(releases);
  if (releases.images.size() > kMaxReleases) {
    std::abort();
  }
  return 0;
}
