#include "tests/e2e/LogoInternet.h"

#include "directory/WebClient.h"
#include "platform/HttpClient.h"
#include "tests/support/StationLogoHosts.h"

namespace e2e {
namespace {

constexpr char kServer[] = "de1.api.radio-browser.info";

}  // namespace

LogoInternet::LogoInternet() : servers(fixture::DirectoryAndLogoHosts({kServer})) {
  servers.server(kServer).AddRoute(
      {.path = "/xml/stations/search",
       .query = "tag=ambient&tagExact=true&hidebroken=true&order=clickcount&reverse=true"
                "&limit=1000",
       .headers = {{"Content-Type", "text/xml"}},
       .bodyFile = fixture::FixturePath("e2e/open-logos.xml")});
  servers.server(kServer).AddRoute({.path = "/pls/url/5a1e0c00-6b7d-4c8e-9fa0-1b2c3d4e5f00",
                                    .headers = {{"Content-Type", "audio/x-scpls"}},
                                    .bodyFile = fixture::FixturePath("e2e/open-tone.pls")});
  fixture::ServeLogos(servers);
}

void LogoInternet::Reach() const {
  webClient.openDirectory.lookups = fixture::LookupsFinding({kServer});
  // The stalled logo gives up soon.
  webClient.logos.limits.stallTimeoutMs = 1000;
  if (icecast) {
    http::MapHost("tone.stream.test", 80, "127.0.0.1", icecast->port());
  }
}

void LogoInternet::StartStream() {
  icecast.emplace();
  icecast->StartMp3Tone("/tone.mp3", 440, 120, "Open Tone");
}

}  // namespace e2e
