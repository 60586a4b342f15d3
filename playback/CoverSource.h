// What the cover sources share: the track asked about, the lookup's deadline, and the answer.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/HttpClient.h"

// The track as every source is asked about it, in UTF-8.
struct TrackQuery {
  std::string artist;
  std::string title;  // the query title (QueryTitle): without a trailing bracket
};

struct SourceAnswer {
  enum Kind {
    Found,       // cover addresses to try, best first
    NoCover,     // the source knows the track and has no cover for it
    Failed,      // no usable answer this time (unreachable, error, unreadable reply)
    TooMany,     // the source asks to be left alone for a while
    KeyRefused,  // the service refuses the program's key for good
  };
  Kind kind = Failed;
  std::vector<std::string> images;  // web addresses
};

// A whole lookup ends within kLookupTime: each request gets what is left of it.
class LookupDeadline {
 public:
  static constexpr std::chrono::seconds kLookupTime{30};

  LookupDeadline() : end_(std::chrono::steady_clock::now() + kLookupTime) {}

  std::chrono::steady_clock::time_point end() const { return end_; }
  // `base` with its connect and total time within what is left; nothing once the time is up.
  std::optional<http::Limits> LimitsWithin(const http::Limits& base) const {
    return http::Within(base, end_);
  }

 private:
  std::chrono::steady_clock::time_point end_;
};
