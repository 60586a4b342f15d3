// The time-outs, size cap and agent name of every download of the program.
#pragma once

#include "platform/HttpClient.h"

inline constexpr char kAgentName[] = "duvEridaz";
// A longer body is refused: the largest directory lists and covers are far below it.
inline constexpr std::int64_t kMaxDownloadBytes = http::kMaxFetchBytes;

http::Limits DownloadLimits();
