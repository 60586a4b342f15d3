#include "playback/ServiceReply.h"

#include <algorithm>

http::Reply AskService(const std::string& address, std::string_view agent, http::Limits limits,
                       std::int64_t cap) {
  limits.maxBodyBytes =
      limits.maxBodyBytes > 0 ? std::min<std::int64_t>(limits.maxBodyBytes, cap) : cap;
  return http::Fetch(address, agent, limits);
}
