#include <system_error>
#include <thread>
#include <utility>

#include "directory/ServersInTurn.h"
#include "directory/WebClient.h"

void StartSearch(WebClient& client, HWND window, std::wstring_view query) {
  const std::shared_ptr<SearchRuns> runs = client.searches;
  const unsigned search = runs->Start();
  const auto deadline = std::chrono::steady_clock::now() + client.searchLimit;
  // Copies: the thread keeps nothing of the window's.
  auto ask = [runs, search, window, deadline,
              servers = client.openDirectory.Servers(std::chrono::steady_clock::now() +
                                                     kTuneInDiscoveryWait),
              query = std::wstring(query), limits = client.downloadLimits] {
    runs->Finish(search, SearchOpenDirectory(servers, query, limits, deadline, kServerPatience));
    PostMessageW(window, WM_SEARCH_DONE, search, 0);
  };
  try {
    std::thread(std::move(ask)).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the search ends at once, having found nothing.
    runs->Finish(search, {});
    PostMessageW(window, WM_SEARCH_DONE, search, 0);
  }
}

std::optional<std::size_t> ShowSearchResults(WebClient& client, HWND window, int listId,
                                             WPARAM search) {
  std::optional<SearchOutcome> outcome = client.searches->Take(static_cast<unsigned>(search));
  if (!outcome) {
    return std::nullopt;
  }
  if (!outcome->server.empty()) {
    client.openDirectory.Keep(outcome->server);
  }
  ShowStations(client, window, listId, outcome->stations);
  return outcome->stations.size();
}
