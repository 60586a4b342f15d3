#include "audio/ResponseHeaders.h"

#include "audio/Text.h"

#include <charconv>

namespace audio {

namespace {

bool IsStatusLine(std::string_view line) {
  return line.starts_with("HTTP/") || line.starts_with("ICY ") || line == "ICY";
}

// The leading decimal number of `s`, or 0 when there is none or it exceeds `limit`.
std::size_t LeadingNumber(std::string_view s, std::size_t limit) {
  std::size_t value = 0;
  auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc() || end == s.data() || value > limit) {
    return 0;
  }
  return value;
}

}  // namespace

bool ResponseHeaders::AddLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  if (IsStatusLine(line)) {
    lines_.clear();
    bytes_ = 0;
    complete_ = false;
  }
  if (line.empty()) {
    complete_ = !lines_.empty();
    return true;
  }
  bytes_ += line.size() + 1;
  if (bytes_ > kMaxHeaderBytes) {
    return false;
  }
  // A NUL inside a line would cut the block short for every reader.
  std::string clean(line);
  for (char& c : clean) {
    if (c == '\0') {
      c = ' ';
    }
  }
  lines_.push_back(std::move(clean));
  return true;
}

bool ResponseHeaders::IsIcy() const noexcept {
  return !lines_.empty() && lines_.front().starts_with("ICY");
}

int ResponseHeaders::StatusCode() const noexcept {
  if (lines_.empty()) {
    return 0;
  }
  std::string_view status = lines_.front();
  std::size_t space = status.find(' ');
  if (space == std::string_view::npos) {
    return 0;
  }
  return static_cast<int>(LeadingNumber(Trim(status.substr(space + 1)), 999));
}

std::string_view ResponseHeaders::Value(std::string_view name) const {
  for (std::size_t i = 1; i < lines_.size(); ++i) {
    std::string_view line = lines_[i];
    std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsNoCase(Trim(line.substr(0, colon)), name)) {
      return Trim(line.substr(colon + 1));
    }
  }
  return {};
}

std::size_t ResponseHeaders::Metaint() const {
  return LeadingNumber(Value("icy-metaint"), kMaxMetaint);
}

unsigned ResponseHeaders::Bitrate() const {
  return static_cast<unsigned>(LeadingNumber(Value("icy-br"), 10000));
}

std::string ResponseHeaders::Block() const {
  std::string block;
  for (const std::string& line : lines_) {
    block += line;
    block += '\0';
  }
  block += '\0';
  return block;
}

}  // namespace audio
