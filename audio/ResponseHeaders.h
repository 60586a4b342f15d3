// The headers of one HTTP or ICY response, collected line by line as the connection delivers
// them. A new status line (after a redirect) starts a new response.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace audio {

// A response whose header lines add up to more than this is refused.
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
// An icy-metaint beyond this is not believed.
constexpr std::size_t kMaxMetaint = 1024 * 1024;

class ResponseHeaders {
 public:
  // One raw line, with or without its line break. False when the header block grew too large;
  // the caller should then drop the connection.
  bool AddLine(std::string_view line);

  // True once the empty line that ends a header block has arrived.
  bool Complete() const noexcept { return complete_; }
  bool IsIcy() const noexcept;  // the status line begins with "ICY"
  int StatusCode() const noexcept;
  const std::vector<std::string>& Lines() const noexcept { return lines_; }

  // The first header of that name (any case), without surrounding blanks; empty if none.
  std::string_view Value(std::string_view name) const;
  std::string_view ContentType() const { return Value("content-type"); }
  std::size_t Metaint() const;  // 0 when absent or unbelievable
  unsigned Bitrate() const;     // kbit/s from icy-br, 0 when absent or unbelievable

  // The lines as NUL-terminated strings ended by an empty one, the status line first.
  std::string Block() const;

 private:
  std::vector<std::string> lines_;
  std::size_t bytes_ = 0;
  bool complete_ = false;
};

}  // namespace audio
