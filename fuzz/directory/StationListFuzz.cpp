// The station-list loader over any document: it never crashes, and every station it gives has
// an id and a shown name within 259 characters and without '-'.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "directory/XmlReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static XmlReader reader;  // one document reused by every load, as in the program
  reader.LoadBuffer(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const Station& station : reader.SelectStations()) {
    if (station.id.empty() || station.name.size() > 259 ||
        station.name.find(L'-') != std::wstring::npos) {
      std::abort();
    }
  }
  return 0;
}
