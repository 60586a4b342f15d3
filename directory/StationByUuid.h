// A station's logo address asked of the open directory by its uuid, for a row that came without
// one (a favourite).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "directory/ServerDiscovery.h"
#include "platform/HttpClient.h"

// Where to ask: the servers known so far (the one in use first), and the lookups that find them
// when none is known yet.
struct StationDirectory {
  std::vector<std::string> servers;
  NameLookups lookups;
};

// The "favicon" of the station in the open directory's /xml/stations/byuuid/UUID answer. The
// first answer is kept beside the station's logo ("UUID.station") and read from then on; when
// no server answers, nothing is kept and the next call asks again. Empty when the station has
// no logo address. Blocks while it asks; any thread.
std::string FaviconByUuid(std::wstring_view folder, std::wstring_view uuid,
                          const StationDirectory& directory, const http::Limits& limits);
