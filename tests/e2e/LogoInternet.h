// The open directory with a genre (Ambient) of stations whose logos are of every kind, each on
// its own HTTPS host, and the first of them (its logo a wide blue bar) playing a tone.
#pragma once

#include <optional>

#include "tests/support/Icecast.h"
#include "tests/support/OpenDirectoryServers.h"

namespace e2e {

struct LogoInternet {
  LogoInternet();
  // After the session has started: the program looks for no open directory by itself.
  void Reach() const;
  // The stream of the first station, before Reach.
  void StartStream();

  fixture::OpenDirectoryServers servers;
  std::optional<fixture::Icecast> icecast;
};

}  // namespace e2e
