#include "tests/support/StationLogoHosts.h"

namespace fixture {

const std::vector<LogoKind>& LogoKinds() {
  static const std::vector<LogoKind> kinds = {
      {"png", kLogoHosts[0], "/logos/blue-bar.png", true},
      {"jpeg", kLogoHosts[0], "/logos/green.jpg", true},
      {"icon", kLogoHosts[0], "/favicon.ico", false},
      {"svg", kLogoHosts[0], "/logos/red.svg", false},
      {"5 MB", kLogoHosts[1], "/wp-content/huge-logo.png", false},
      {"stalled", kLogoHosts[1], "/wp-content/stalled-logo.png", false},
      {"404", kLogoHosts[2], "/images/gone.png", false},
      {"wrong type", kLogoHosts[2], "/logo", true},
  };
  return kinds;
}

void ServeLogos(OpenDirectoryServers& servers) {
  const auto image = [](const char* file, const char* type) {
    return Route{.headers = {{"Content-Type", type}},
                 .bodyFile = FixturePath(std::string("logos/") + file)};
  };
  std::vector<Route> routes = {
      image("logo-wide.png", "image/png"),
      image("logo-square.jpg", "image/jpeg"),
      image("icon.ico", "image/x-icon"),
      image("logo.svg", "image/svg+xml"),
      {.headers = {{"Content-Type", "image/png"}}, .hugeBody = 5LL << 20},
      {.headers = {{"Content-Type", "image/png"}},
       .bodyFile = FixturePath("logos/logo-wide.png"),
       .stallAfter = 16,
       .stallSeconds = 120},
      {.status = 404, .headers = {{"Content-Type", "text/html"}}, .body = "<h1>Not Found</h1>"},
      image("logo-wide.png", "text/html; charset=UTF-8"),
  };
  for (std::size_t i = 0; i < routes.size(); ++i) {
    routes[i].path = LogoKinds()[i].path;
    servers.server(LogoKinds()[i].host).AddRoute(routes[i]);
  }
}

std::vector<std::string> DirectoryAndLogoHosts(const std::vector<std::string>& directoryServers) {
  std::vector<std::string> names = directoryServers;
  names.insert(names.end(), kLogoHosts.begin(), kLogoHosts.end());
  return names;
}

}  // namespace fixture
