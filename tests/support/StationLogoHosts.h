// Station logos as the open directory's "favicon" addresses give them: on HTTPS hosts of the
// stations' own, played by fixture servers beside the open directory's (one certificate for
// all). Each kind of logo a station may have, good and bad.
#pragma once

#include <string>
#include <vector>

#include "tests/support/OpenDirectoryServers.h"

namespace fixture {

struct LogoKind {
  std::string name;  // what it is, for failure messages
  std::string host;  // one of kLogoHosts
  std::string path;
  bool drawable;  // whether a logo is kept from it
  std::string address() const { return "https://" + host + path; }
};

inline const std::vector<std::string> kLogoHosts = {"cdn.stationlogos.test", "img.radio-one.test",
                                                    "www.radio-two.test"};

// PNG (a wide blue bar), JPEG (a green square), an icon, a drawing, a 5 MB image, one that
// stalls, one that answers 404, and a PNG sent as text/html, in this order.
const std::vector<LogoKind>& LogoKinds();
// Adds each kind's route to its host's server.
void ServeLogos(OpenDirectoryServers& servers);

// The open directory's servers: `directoryServers` first (found by Lookups()), then the logo
// hosts (not found as directory servers).
std::vector<std::string> DirectoryAndLogoHosts(const std::vector<std::string>& directoryServers);

}  // namespace fixture
