#include "playback/TrackInfoQuery.h"

#include "directory/Address.h"
#include "directory/ServiceHosts.h"

namespace {

constexpr char trackInfoAddressStart[] =
    "http://" TUNEDECK_TRACK_INFO_HOST
    "/2.0/?method=track.getinfo&api_key=5e0c7a19d2b84f63a1c09e7d3b6f2a84&artist=";

}  // namespace

std::wstring QueryTitle(std::wstring_view title) {
  // A '(' anywhere wins over an earlier '['.
  std::size_t bracket = title.find(L'(');
  if (bracket == std::wstring_view::npos) {
    bracket = title.find(L'[');
  }
  // The character before the bracket, normally a blank, goes too.
  if (bracket == std::wstring_view::npos || bracket < 2) {
    return std::wstring(title);
  }
  return std::wstring(title.substr(0, bracket - 1));
}

std::string TrackInfoAddress(std::string_view artist, std::string_view title) {
  return trackInfoAddressStart + PercentEncode(artist) + "&track=" + PercentEncode(title);
}
