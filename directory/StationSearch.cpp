#include "directory/StationSearch.h"

#include <algorithm>
#include <cwctype>
#include <future>
#include <optional>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "directory/Address.h"
#include "directory/Download.h"
#include "directory/ServersInTurn.h"
#include "directory/ServiceHosts.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kTagSearch = 1;  // the index of the tag search in kOpenDirectorySearchPaths

// What one search found, and on which server; nothing when no server answered it.
struct Answer {
  std::vector<RankedStation> stations;
  std::string server;
};

// Asks the servers in turn for the search with this index among kOpenDirectorySearchPaths.
std::optional<Answer> AskInTurn(std::size_t search, const std::vector<std::string>& servers,
                                std::wstring_view query, const http::Limits& limits,
                                Clock::time_point deadline, std::chrono::milliseconds patience) {
  std::vector<RankedStation> stations;
  const auto ask = [&](const std::string& server, const http::Limits& within) {
    const http::Reply reply =
        http::Fetch(SearchAddresses(server, query)[search], kAgentName, within);
    if (!reply.Ok()) {
      return false;
    }
    XmlReader document;
    document.LoadBuffer(reply.body);
    // Anything but the directory's reply (a portal's page, an error text) is no answer.
    if (!document.IsOpenDirectoryReply()) {
      return false;
    }
    stations = document.SelectOpenDirectoryStations();
    return true;
  };
  std::optional<std::string> server = AskServersInTurn(servers, limits, deadline, patience, ask);
  if (!server) {
    return std::nullopt;
  }
  return Answer{std::move(stations), std::move(*server)};
}

}  // namespace

std::wstring TrimmedQuery(std::wstring_view typed) {
  const auto blank = [](wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; };
  const auto first = std::find_if_not(typed.begin(), typed.end(), blank);
  const auto last = std::find_if_not(typed.rbegin(), typed.rend(), blank).base();
  return first < last ? std::wstring(first, last) : std::wstring();
}

std::vector<std::string> SearchAddresses(const std::string& server, std::wstring_view query) {
  std::wstring tag(query);
  CharLowerBuffW(tag.data(), static_cast<DWORD>(tag.size()));
  std::vector<std::string> addresses;
  for (std::size_t i = 0; i < std::size(kOpenDirectorySearchPaths); ++i) {
    addresses.push_back(WideToUtf8(L"https://" + Utf8ToWide(server) +
                                   AddressWith(kOpenDirectorySearchPaths[i],
                                               i == kTagSearch ? std::wstring_view(tag) : query) +
                                   kOpenDirectorySearchOptions));
  }
  return addresses;
}

std::vector<Station> MergeSearchReplies(std::vector<std::vector<RankedStation>> replies) {
  std::vector<RankedStation> all;
  for (std::vector<RankedStation>& reply : replies) {
    std::move(reply.begin(), reply.end(), std::back_inserter(all));
  }
  std::stable_sort(all.begin(), all.end(), [](const RankedStation& a, const RankedStation& b) {
    return a.clicks > b.clicks;
  });
  std::vector<Station> stations;
  std::unordered_set<std::wstring> seen;
  for (RankedStation& ranked : all) {
    if (stations.size() == kSearchRows) {
      break;
    }
    if (seen.insert(ranked.station.id).second) {
      stations.push_back(std::move(ranked.station));
    }
  }
  return stations;
}

SearchOutcome SearchOpenDirectory(const std::vector<std::string>& servers, std::wstring_view query,
                                  const http::Limits& limits, Clock::time_point deadline,
                                  std::chrono::milliseconds patience) {
  std::vector<std::future<std::optional<Answer>>> searches;
  for (std::size_t search = 0; search < std::size(kOpenDirectorySearchPaths); ++search) {
    const auto ask = [search, &servers, query, &limits, deadline, patience] {
      return AskInTurn(search, servers, query, limits, deadline, patience);
    };
    try {
      searches.push_back(std::async(std::launch::async, ask));
    } catch (const std::system_error&) {
      searches.push_back(std::async(std::launch::deferred, ask));  // one after another, then
    }
  }
  SearchOutcome outcome;
  std::vector<std::vector<RankedStation>> replies;
  for (auto& search : searches) {
    if (std::optional<Answer> answer = search.get()) {
      if (outcome.server.empty()) {
        outcome.server = answer->server;
      }
      replies.push_back(std::move(answer->stations));
    }
  }
  outcome.stations = MergeSearchReplies(std::move(replies));
  return outcome;
}
