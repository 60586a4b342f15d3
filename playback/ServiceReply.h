// One request to a web service whose reply is read in memory, error replies included: a cover
// source must see why it was refused (an error code, "too many") as well as what it found.
#pragma once

#include <string>
#include <string_view>

#include "platform/HttpClient.h"

// A longer reply is cut off and counts as not arrived: real replies are a few kilobytes.
inline constexpr std::size_t kMaxServiceReplyBytes = 1 << 20;

struct ServiceReply {
  bool arrived = false;  // the whole reply came, whatever its status
  long status = 0;       // the HTTP status of the last response (after redirects)
  std::string body;

  bool Ok() const { return arrived && status >= 200 && status <= 299; }
  // The service asks to be left alone for a while.
  bool TooMany() const { return arrived && (status == 403 || status == 429 || status == 503); }
};

// Asks `address` with this agent name and these limits; blocks until the reply is whole or the
// transfer failed. Any thread.
ServiceReply AskService(const std::string& address, std::string_view agent,
                        const http::Limits& limits);
