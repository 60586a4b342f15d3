// The open directory as the program uses it during a run: its servers, found once, and the one
// that last answered, which later station lists and tune-ins ask first.
#pragma once

#include <chrono>
#include <future>
#include <string>
#include <string_view>
#include <vector>

#include "directory/ServerDiscovery.h"

struct OpenDirectory {
  NameLookups lookups = SystemNameLookups();
  // The order in which servers are tried; the first is the one in use. Empty until discovery.
  std::vector<std::string> servers;

  // The servers, the one in use first. Discovers them when none is known yet, or when the last
  // discovery found no server name (the network may have come back since). The lookups run on
  // a thread of their own and are waited for until `until`, the window painting meanwhile
  // (RunWhilePainting); when they end later, the discovery host itself stands in and their
  // result is taken at a later call. Window thread only.
  const std::vector<std::string>& Servers(std::chrono::steady_clock::time_point until);
  // Makes `server`, one of Servers(), the one in use; the others keep their turn after it.
  void Keep(const std::string& server);
  // "https://<server in use>/pls/url/<uuid>": the station's playlist. Waits for a discovery
  // as Servers does, at most kTuneInDiscoveryWait. Window thread only.
  std::wstring TuneInAddress(std::wstring_view uuid);

 private:
  std::future<std::vector<std::string>> discovery_;  // the lookups under way, if any
};

// The longest a tune-in waits for the servers' discovery.
inline constexpr std::chrono::seconds kTuneInDiscoveryWait{5};

// "https://<server>/xml/stations/search?tag=<key>&..." with the key in lower case,
// percent-encoded.
std::wstring OpenDirectoryQuery(const std::string& server, std::wstring_view key);
