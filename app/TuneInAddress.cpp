#include "app/TuneInAddress.h"

#include "directory/Address.h"
#include "directory/ServiceHosts.h"
#include "directory/StationId.h"
#include "directory/WebClient.h"
#include "shell/TextBuffer.h"

std::optional<std::wstring> TuneInAddress(LPCWSTR stationId) {
  std::wstring address;
  if (IsDirectoryStationId(stationId)) {
    address = AddressWith(kTuneInFormat, stationId);
  } else if (IsStationUuid(std::wstring_view(stationId))) {
    address = webClient.openDirectory.TuneInAddress(stationId);
  } else {
    return std::nullopt;
  }
  // stationUrl holds kMaxTextCharacters; a cut address would name another station.
  if (address.size() > kMaxTextCharacters) {
    return std::nullopt;
  }
  return address;
}
