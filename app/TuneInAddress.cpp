#include "app/TuneInAddress.h"

#include "directory/Address.h"
#include "directory/ServiceHosts.h"

std::optional<std::wstring> TuneInAddress(LPCWSTR stationId) {
  std::wstring address = AddressWith(kTuneInFormat, stationId);
  // stationUrl holds 259 characters; a cut address would name another station.
  if (address.size() > 259) {
    return std::nullopt;
  }
  return address;
}
