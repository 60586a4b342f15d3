// One request to a web service whose reply is read in memory, error replies included: a cover
// source must see why it was refused (an error code, "too many") as well as what it found.
#pragma once

#include <string>
#include <string_view>

#include "platform/HttpClient.h"

// A longer reply is cut off and counts as not arrived: real replies are a few kilobytes.
inline constexpr std::int64_t kMaxServiceReplyBytes = 1 << 20;

// The service asks to be left alone for a while.
inline bool TooMany(const http::Reply& reply) {
  return reply.arrived && (reply.status == 403 || reply.status == 429 || reply.status == 503);
}

// Asks `address` with this agent name and these limits, the reply capped at `cap`; blocks until
// the reply is whole or the transfer failed. Any thread.
http::Reply AskService(const std::string& address, std::string_view agent, http::Limits limits,
                       std::int64_t cap = kMaxServiceReplyBytes);
