// Asking the open directory's servers one after another, within a deadline, until one answers.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/HttpClient.h"

// Each server is given up after this long without an answer, so that the next one still gets
// its turn.
inline constexpr std::chrono::milliseconds kServerPatience = std::chrono::seconds(4);
// With less time left, no further server is asked.
inline constexpr std::chrono::milliseconds kShortestTry = std::chrono::milliseconds(500);

// Fetches one request from `server` within `limits` and says whether the reply was the
// directory's (an error status, a portal's page or no answer at all is not).
using AskServer = std::function<bool(const std::string& server, const http::Limits& limits)>;

// Asks the servers in turn, the first first, each with `limits` cut so that its transfer ends
// by `deadline` and waits at most `patience` for bytes (http::Within), until one gives the
// directory's reply or less than kShortestTry is left. Returns that server; nothing when none
// answered. Blocks; any thread.
std::optional<std::string> AskServersInTurn(const std::vector<std::string>& servers,
                                            const http::Limits& limits,
                                            std::chrono::steady_clock::time_point deadline,
                                            std::chrono::milliseconds patience,
                                            const AskServer& ask);
