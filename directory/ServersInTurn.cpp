#include "directory/ServersInTurn.h"

std::optional<std::string> AskServersInTurn(const std::vector<std::string>& servers,
                                            const http::Limits& limits,
                                            std::chrono::steady_clock::time_point deadline,
                                            std::chrono::milliseconds patience,
                                            const AskServer& ask) {
  for (const std::string& server : servers) {
    if (deadline - std::chrono::steady_clock::now() < kShortestTry) {
      break;
    }
    const std::optional<http::Limits> within = http::Within(limits, deadline, patience);
    if (within && ask(server, *within)) {
      return server;
    }
  }
  return std::nullopt;
}
