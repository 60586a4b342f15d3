// One web address fetched into a file of a folder, the body byte for byte.
#pragma once

#include <string_view>

#include "platform/HttpClient.h"

inline constexpr char kAgentName[] = "duvEridaz";
// A longer body is refused: the largest directory lists and covers are far below it.
inline constexpr curl_off_t kMaxDownloadBytes = curl_off_t{8} << 20;

// The time-outs and the size cap of every download of the program.
http::Limits DownloadLimits();

// Fetches `address` into folder + name. The body goes to a temporary file in the same folder,
// which replaces the destination only when the whole body arrived with a 2xx status; otherwise
// the destination is as it was. Returns 0 on success, 1 otherwise (a name that is not plain,
// an address or path longer than 259 characters, a failed or capped transfer, an error status).
// Blocks until the transfer ends; callable on any thread.
int DownloadIntoFolder(std::wstring_view folder, std::wstring_view name, std::wstring_view address,
                       const http::Limits& limits);
