// The tune-in playlist address of a station, from the kind of its id.
#pragma once

#include <optional>
#include <string>

#include "platform/Win32Types.h"

// The first directory's id (digits): "http://<directory host>/sbin/tunein-station.pls?id=<id>". A
// station uuid: the open directory's playlist on its server in use. Nothing for any other id, or
// when the address would not fit 259 characters. Window thread only.
std::optional<std::wstring> TuneInAddress(LPCWSTR stationId);
