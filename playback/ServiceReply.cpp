#include "playback/ServiceReply.h"

#include <algorithm>

http::Reply AskService(const std::string& address, std::string_view agent, http::Limits limits) {
  limits.maxBodyBytes = limits.maxBodyBytes > 0
                            ? std::min<std::int64_t>(limits.maxBodyBytes, kMaxServiceReplyBytes)
                            : kMaxServiceReplyBytes;
  return http::Fetch(address, agent, limits);
}
