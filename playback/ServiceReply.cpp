#include "playback/ServiceReply.h"

namespace {

struct BodySink {
  std::string* body;
  bool overflow = false;
};

size_t KeepBody(char* data, size_t size, size_t count, void* target) {
  BodySink& sink = *static_cast<BodySink*>(target);
  const size_t bytes = size * count;
  if (sink.body->size() + bytes > kMaxServiceReplyBytes) {
    sink.overflow = true;
    return 0;  // ends the transfer
  }
  sink.body->append(data, bytes);
  return bytes;
}

}  // namespace

ServiceReply AskService(const std::string& address, std::string_view agent,
                        const http::Limits& limits) {
  ServiceReply reply;
  http::EasyHandle handle(address, agent, limits);
  if (handle.get() == nullptr) {
    return reply;
  }
  BodySink sink{&reply.body};
  handle.Set(CURLOPT_WRITEFUNCTION, KeepBody);
  handle.Set(CURLOPT_WRITEDATA, &sink);
  const CURLcode result = handle.Perform();
  curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &reply.status);
  reply.arrived = result == CURLE_OK && !sink.overflow;
  return reply;
}
