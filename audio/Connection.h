// One HTTP or ICY download over libcurl, driven step by step by whichever thread owns it (the
// creating thread while connecting, then the stream's download thread). Sends
// `Icy-MetaData: 1` and collects the response headers.
#pragma once

#include "audio/Failure.h"
#include "audio/ResponseHeaders.h"
#include "platform/CurlPtr.h"
#include "platform/HttpClient.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace audio {

class Connection {
 public:
  // Receives body bytes; returns false to pause the download, which then keeps those bytes
  // and offers them again after Resume().
  using BodySink = std::function<bool(std::span<const std::uint8_t>)>;

  Connection(const std::string& url, const http::Limits& limits);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void SetBodySink(BodySink sink) { sink_ = std::move(sink); }

  // Runs the transfer for up to `wait` (0: only what is ready now). False once it has ended
  // (see Result()).
  bool Pump(std::chrono::milliseconds wait);
  // Waits up to `wait` for the server to send more (or for Wake()), taking nothing in.
  void WaitForMore(std::chrono::milliseconds wait);
  // True when the server has sent more than the last Pump() took in (a burst still arriving).
  bool MoreWaiting();
  // Lets a paused download go on; call on the owning thread.
  void Resume();
  // Makes a Pump() in progress on another thread return at once. Any thread.
  void Wake() noexcept;

  // The connection's socket, -1 while there is none.
  int Socket() const;
  const ResponseHeaders& Headers() const noexcept { return headers_; }
  // The address the answer came from, after any redirects.
  std::string EffectiveUrl() const;
  // After the end: None for a clean end of the body, else why it ended.
  Failure Result() const noexcept { return result_; }

 private:
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);

  http::EasyHandle easy_;
  CurlMultiPtr multi_;  // after easy_: goes first
  BodySink sink_;
  ResponseHeaders headers_;
  bool headersTooLarge_ = false;
  bool paused_ = false;
  bool ended_ = false;
  Failure result_ = Failure::None;
};

}  // namespace audio
