// The directory's tune-in playlist address of a station.
#pragma once

#include <optional>
#include <string>

#include "platform/Win32Types.h"

// "http://<directory host>/sbin/tunein-station.pls?id=<id>" with the id percent-encoded as
// UTF-8; empty when the address would not fit 259 characters.
std::optional<std::wstring> TuneInAddress(LPCWSTR stationId);
