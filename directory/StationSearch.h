// Searching the open directory for the station a person names: by name, tag, country and
// language at once, the four replies merged into one list of rows.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "directory/XmlReader.h"
#include "platform/HttpClient.h"

// The most rows a search gives.
inline constexpr std::size_t kSearchRows = 500;

// The query as it is asked: the typed text without blanks at either end.
std::wstring TrimmedQuery(std::wstring_view typed);

// The four searches' addresses on a server, the query percent-encoded as UTF-8 (in lower case
// for the tag, as the directory keeps its tags).
std::vector<std::string> SearchAddresses(const std::string& server, std::wstring_view query);

// The stations of the replies, each uuid once, the most played first (a tie keeps the order of
// the replies), at most kSearchRows.
std::vector<Station> MergeSearchReplies(std::vector<std::vector<RankedStation>> replies);

struct SearchOutcome {
  std::vector<Station> stations;
  std::string server;  // a server that answered, to keep in use; empty when none did
};

// Asks the four searches at once, each of the servers in turn (the first first) until one
// answers it with a directory's reply, and merges what they found. A server is given up after
// `patience` without an answer. Blocks until every search is answered or given up, by
// `deadline` at the latest. Any thread.
SearchOutcome SearchOpenDirectory(const std::vector<std::string>& servers, std::wstring_view query,
                                  const http::Limits& limits,
                                  std::chrono::steady_clock::time_point deadline,
                                  std::chrono::milliseconds patience);
