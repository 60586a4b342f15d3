#include "audio/Connection.h"

#include <sys/select.h>

namespace audio {

namespace {

constexpr char kAgent[] = "tunedeck";

Failure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return Failure::None;
    case CURLE_OPERATION_TIMEDOUT:
      return Failure::Timeout;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
      return Failure::Tls;
    default:
      return Failure::Unreachable;
  }
}

}  // namespace

Connection::Connection(const std::string& url, const http::Limits& limits)
    : easy_(url, kAgent, limits) {
  // A refused option would be a request that silently lacks it: no request at all instead.
  const bool set = easy_.get() != nullptr && easy_.AddRequestHeader("Icy-MetaData: 1") &&
                   easy_.Set(CURLOPT_HEADERFUNCTION, &Connection::OnHeader) &&
                   easy_.Set(CURLOPT_HEADERDATA, this) &&
                   easy_.Set(CURLOPT_WRITEFUNCTION, &Connection::OnBody) &&
                   easy_.Set(CURLOPT_WRITEDATA, this);
  if (set) {
    multi_.reset(curl_multi_init());
  }
  if (multi_ == nullptr || curl_multi_add_handle(multi_.get(), easy_.get()) != CURLM_OK) {
    multi_.reset();
    ended_ = true;
    result_ = Failure::Unreachable;
  }
}

Connection::~Connection() {
  if (multi_ != nullptr) {
    curl_multi_remove_handle(multi_.get(), easy_.get());
  }
}

bool Connection::Pump(std::chrono::milliseconds wait) {
  if (ended_) {
    return false;
  }
  int running = 0;
  curl_multi_perform(multi_.get(), &running);
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi_.get(), &left)) {
    if (msg->msg == CURLMSG_DONE) {
      ended_ = true;
      CURLcode code = msg->data.result;
      // A refused header block is our own stop, not the server's doing.
      result_ = headersTooLarge_ ? Failure::NotAudio : FailureOf(code);
    }
  }
  if (ended_) {
    return false;
  }
  WaitForMore(wait);
  return true;
}

void Connection::WaitForMore(std::chrono::milliseconds wait) {
  if (!ended_ && wait.count() > 0) {
    curl_multi_poll(multi_.get(), nullptr, 0, static_cast<int>(wait.count()), nullptr);
  }
}

bool Connection::MoreWaiting() {
  int ready = 0;
  return !ended_ && !paused_ && curl_multi_wait(multi_.get(), nullptr, 0, 0, &ready) == CURLM_OK &&
         ready > 0;
}

void Connection::Resume() {
  if (paused_ && !ended_) {
    paused_ = false;
    curl_easy_pause(easy_.get(), CURLPAUSE_CONT);
  }
}

int Connection::Socket() const {
  // The transfer's one connection is the socket curl waits on; a socket beyond what select()
  // takes is not told, and then counts as none.
  fd_set readable;
  fd_set writable;
  fd_set failed;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  int highest = -1;
  if (multi_.get() == nullptr ||
      curl_multi_fdset(multi_.get(), &readable, &writable, &failed, &highest) != CURLM_OK) {
    return -1;
  }
  for (int socket = 0; socket <= highest; ++socket) {
    if (FD_ISSET(socket, &readable) || FD_ISSET(socket, &writable)) {
      return socket;
    }
  }
  return -1;
}

std::string Connection::EffectiveUrl() const {
  char* url = nullptr;
  if (easy_.get() == nullptr ||
      curl_easy_getinfo(easy_.get(), CURLINFO_EFFECTIVE_URL, &url) != CURLE_OK || url == nullptr) {
    return {};
  }
  return url;
}

void Connection::Wake() noexcept {
  if (multi_ != nullptr) {
    curl_multi_wakeup(multi_.get());
  }
}

std::size_t Connection::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  auto& c = *static_cast<Connection*>(self);
  std::size_t bytes = size * count;
  if (!c.headers_.AddLine({data, bytes})) {
    c.headersTooLarge_ = true;
    return 0;
  }
  return bytes;
}

std::size_t Connection::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto& c = *static_cast<Connection*>(self);
  std::size_t bytes = size * count;
  if (c.sink_ && !c.sink_({reinterpret_cast<const std::uint8_t*>(data), bytes})) {
    c.paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  return bytes;
}

}  // namespace audio
